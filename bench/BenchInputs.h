#pragma once

#include "BenchDataSet.h"

#include <QString>
#include <QStringList>

namespace quilloa::bench {

// What the benchmark types and asks for, read from a generated folder: the first letters of
// real codes as a doctor types them, record keys spread over the archive, the report day and
// month and how many visits they hold.
class BenchInputs
{
public:
    static constexpr int kSamples = 24;
    static inline const QDate kReportDay{2016, 5, 17};

    explicit BenchInputs(const BenchDataSet& data);

    // Typed codes of exactly `letters` letters, taken from the starts of stored codes.
    QStringList drugCodes(int letters) const { return typed(m_drugCodes, letters); }
    QStringList diagnosisCodes(int letters) const { return typed(m_diagnosisCodes, letters); }
    QStringList addressCodes(int letters) const { return typed(m_addressCodes, letters); }
    // Every code prefix of one to three letters, as they appear keystroke by keystroke.
    QStringList keystrokes(const QStringList& codes) const;
    const QStringList& drugCodeList() const { return m_drugCodes; }
    const QStringList& diagnosisCodeList() const { return m_diagnosisCodes; }
    const QStringList& addressCodeList() const { return m_addressCodes; }

    const QString& settingsFile() const { return m_settingsFile; }
    const QStringList& recordKeys() const { return m_recordKeys; }
    qint64 dayVisits() const { return m_dayVisits; }
    qint64 monthVisits() const { return m_monthVisits; }

    static QString year() { return kReportDay.toString(QStringLiteral("yyyy")); }
    static QString month() { return kReportDay.toString(QStringLiteral("MM")); }
    static QString day() { return kReportDay.toString(QStringLiteral("dd")); }
    static QString dayText() { return kReportDay.toString(QStringLiteral("yyyy-MM-dd")); }
    static QString monthText() { return kReportDay.toString(QStringLiteral("yyyy-MM")); }

private:
    static QStringList typed(const QStringList& codes, int letters);

    QString m_settingsFile;
    QStringList m_drugCodes;
    QStringList m_diagnosisCodes;
    QStringList m_addressCodes;
    QStringList m_recordKeys;
    qint64 m_dayVisits = 0;
    qint64 m_monthVisits = 0;
};

} // namespace quilloa::bench
