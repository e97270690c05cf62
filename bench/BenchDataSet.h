#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StorePaths.h"

#include <QDate>
#include <QString>

namespace quilloa::bench {

// A program folder holding a generated archive of `records` prescriptions over ten years and
// full reference lists. Generated once and reused: a marker written last says it is complete.
class BenchDataSet
{
public:
    static constexpr int kSmallArchive = 200000;
    static constexpr int kLargeArchive = 1000000;
    static constexpr int kDrugs = 20000;
    static constexpr int kDiagnoses = 5000;
    static constexpr int kAddresses = 5000;
    static inline const QDate kFirstDay{2010, 1, 1};
    static inline const QDate kLastDay{2019, 12, 31};

    // A village archive: half the patients share the surname kVillageSurname.
    static constexpr int kVillageArchive = 200000;
    static inline const QString kVillageSurname = QStringLiteral("王");

    BenchDataSet(const QString& root, int records, bool village = false);

    int records() const { return m_records; }
    bool village() const { return m_village; }
    // "1,000,000 records", "200,000 records, village of 王"
    QString sizeText() const;
    const StorePaths& paths() const { return m_paths; }
    QString programFolder() const { return m_paths.programFolder; }

    // Makes the folder ready: reuses a complete one (undoing what an interrupted benchmark run
    // may have left behind), otherwise generates it. False with `error` set when that fails.
    bool prepare(QString* error);

private:
    QString markerPath() const;
    QString markerText() const;
    bool isComplete() const;
    bool generate(QString* error);
    bool fillSettings(QString* error);
    bool fillArchive(QString* error);
    bool tidy(QString* error);
    bool completeNameIndex(const StoreConnection& archive, QString* error);

    int m_records;
    bool m_village;
    StorePaths m_paths;
};

} // namespace quilloa::bench
