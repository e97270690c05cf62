#pragma once

#include "core/oldimport/ImportCounts.h"
#include "core/oldimport/OldData.h"
#include "core/oldimport/OldDataReader.h"
#include "core/store/StorePaths.h"
#include "core/store/StoreResult.h"
#include "core/store/sql/ScopedConnection.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QTemporaryDir>

#include <functional>
#include <memory>

struct sqlite3;

namespace quilloa {

// Writes what was read from the old stores into the program's two store files, in one
// transaction over both: a kill at any moment leaves both as they were, and nothing is in them
// half. Before the first write both stores are locked against every other writer and copied,
// checked, to 数据库备份/导入前 <date time>; after the last one each store is checked again. A dry
// run opens the stores read-only and counts what the import would do.
class ImportWriter
{
public:
    using Progress = std::function<void(qint64 recordsDone)>;
    struct Result
    {
        StoreStatus status = StoreStatus::success();
        ImportCounts counts;
        QString savedFolder; // the 导入前 copy; empty for a dry run
    };

    ImportWriter(StorePaths paths, const OldData& data, const OldDataReader& reader);
    ~ImportWriter();
    ImportWriter(const ImportWriter&) = delete;
    ImportWriter& operator=(const ImportWriter&) = delete;

    [[nodiscard]] Result run(SettingsChoice choice, bool dryRun, const QDateTime& now,
                             const Progress& progress);

private:
    StoreStatus prepareStores(bool dryRun);
    StoreStatus open(bool dryRun);
    StoreStatus lockAndSave(const QDateTime& now, QString& saved);
    StoreStatus readPresentRecords();
    StoreStatus writeLists(bool dryRun, ImportCounts& counts);
    StoreStatus writeList(int list, bool dryRun, ImportCounts::List& counts);
    StoreStatus writeSettings(SettingsChoice choice, bool dryRun, ImportCounts& counts);
    StoreStatus writePassword(bool dryRun, ImportCounts& counts);
    StoreStatus writeRecords(bool dryRun, ImportCounts& counts, const Progress& progress);
    StoreStatus verify(const ImportCounts& counts, bool dryRun);
    StoreStatus checkAfterwards(const QString& saved) const;

    StoreStatus run(const QString& sql, const QVariantList& values = {});
    StoreResult<QStringList> rowsOf(const QString& sql);
    StoreResult<qint64> countOf(const QString& table);
    StoreStatus failed(const QString& path) const;

    StorePaths m_paths;
    const OldData& m_data;
    const OldDataReader& m_reader;
    QTemporaryDir m_scratch;
    QString m_archive;
    QString m_settings;
    std::unique_ptr<ScopedConnection> m_connection;
    QSqlError m_lastError;
    // The records already in the archive, as digests of all their values, each with how many
    // times it is there; and their keys.
    QHash<QByteArray, int> m_present;
    QSet<QString> m_keys;
    qint64 m_recordsBefore = 0;
    std::array<qint64, 3> m_listsBefore{};
};

} // namespace quilloa
