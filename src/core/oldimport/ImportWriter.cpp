#include "core/oldimport/ImportWriter.h"

#include "core/backup/BackupCatalog.h"
#include "core/oldimport/LockedStoreCopy.h"
#include "core/startup/PasswordHash.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/file/StoreSchema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <sqlite3.h>

namespace quilloa {

namespace {

const QString kRecordColumns = QStringLiteral(
    "[名称], [姓名], [性别], [年龄], [日期], [诊断], [地址], [处方], [医生], [配药], [收费]");
constexpr int kFeeColumn = 10;
const char* const kLists[] = {"药品", "诊断", "地址"};
// Each list's columns in its stored order, and where name and code stand among them.
const QString kListColumns[] = {QStringLiteral("[拼音], [名称]"), QStringLiteral("[名称], [拼音]"),
                                QStringLiteral("[名称], [拼音]")};
const QString kSettingsColumns = QStringLiteral(
    "[医生] = ?, [上边距] = ?, [左边距] = ?, [上边距1] = ?, [左边距1] = ?, [配药] = ?, [名称] = ?");
constexpr int kProgressEvery = 256;

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

QVariant bindable(const JetValue& value, bool fee)
{
    if (value.null)
        return fee ? QVariant(QMetaType::fromType<qlonglong>()) : nullText();
    return fee ? QVariant(qlonglong(value.units)) : QVariant(value.text);
}

void addText(QCryptographicHash& hash, bool null, const QString& text)
{
    if (null) {
        hash.addData(QByteArrayView("\0", 1));
        return;
    }
    const QByteArray bytes = text.toUtf8();
    const qint64 length = bytes.size();
    hash.addData(QByteArrayView("\1", 1));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&length), sizeof length));
    hash.addData(bytes);
}

void addFee(QCryptographicHash& hash, bool null, qint64 units)
{
    hash.addData(null ? QByteArrayView("\0", 1) : QByteArrayView("\2", 1));
    if (!null)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(&units), sizeof units));
}

// The digest of every value of a record, NULL told from "" and case kept.
QByteArray digestOf(const QList<JetValue>& record)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i < record.size(); ++i) {
        if (i == kFeeColumn)
            addFee(hash, record[i].null, record[i].units);
        else
            addText(hash, record[i].null, record[i].text);
    }
    return hash.result();
}

QByteArray digestOf(const QSqlQuery& row)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i <= kFeeColumn; ++i) {
        if (i == kFeeColumn)
            addFee(hash, row.isNull(i), row.value(i).toLongLong());
        else
            addText(hash, row.isNull(i), row.value(i).toString());
    }
    return hash.result();
}

// One value as a piece of a row's text for comparing rows: NULL and "" stay apart.
QString piece(bool null, const QString& text)
{
    return null ? QStringLiteral("\x01") : QLatin1Char('\x02') + text;
}

QString entryText(const OldEntry& entry, int list)
{
    const QString name = piece(entry.name.null, entry.name.text);
    const QString code = piece(entry.code.null, entry.code.text);
    return list == 0 ? code + QChar(0x1f) + name : name + QChar(0x1f) + code;
}

QString rowText(const QList<JetValue>& row)
{
    QStringList pieces;
    for (const JetValue& value : row)
        pieces << piece(value.null, value.text);
    return pieces.join(QChar(0x1f));
}

const QList<OldEntry>& oldList(const OldData& data, int list)
{
    return list == 0 ? data.drugs : list == 1 ? data.diagnoses : data.addresses;
}

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool changedAnything(const ImportCounts& counts)
{
    bool lists = false;
    for (const ImportCounts::List& list : counts.lists)
        lists = lists || list.added > 0 || list.replaced;
    return lists || counts.recordsAdded > 0 || counts.settings == ImportCounts::Settings::Taken ||
           counts.password == ImportCounts::Password::Taken;
}

} // namespace

ImportWriter::ImportWriter(StorePaths paths, const OldData& data, const OldDataReader& reader)
    : m_paths(std::move(paths)), m_data(data), m_reader(reader)
{
}

ImportWriter::~ImportWriter()
{
    m_connection.reset();
}

ImportWriter::Result ImportWriter::run(SettingsChoice choice, bool dryRun, const QDateTime& now,
                                       const Progress& progress)
{
    Result result;
    StoreStatus& status = result.status;
    status = prepareStores(dryRun);
    if (status.ok())
        status = open(dryRun);
    if (status.ok() && !dryRun)
        status = lockAndSave(now, result.savedFolder);
    else if (status.ok())
        status = run(QStringLiteral("BEGIN"));
    if (status.ok())
        status = writeLists(dryRun, result.counts);
    if (status.ok())
        status = writeSettings(choice, dryRun, result.counts);
    if (status.ok())
        status = writePassword(dryRun, result.counts);
    if (status.ok())
        status = readPresentRecords();
    if (status.ok())
        status = writeRecords(dryRun, result.counts, progress);
    if (status.ok())
        status = verify(result.counts, dryRun);
    if (status.ok() && !dryRun)
        status = run(QStringLiteral("COMMIT"));
    if (!status.ok() || dryRun)
        (void)run(QStringLiteral("ROLLBACK"));
    m_connection.reset();
    if (status.ok() && !dryRun)
        status = checkAfterwards(result.savedFolder);
    // A copy of stores that the import did not change would only crowd the backup list.
    if (status.ok() && !dryRun && !changedAnything(result.counts)) {
        QDir(result.savedFolder).removeRecursively();
        result.savedFolder.clear();
    }
    return result;
}

// A data folder without stores gets the ones a fresh start makes; a dry run plans against such
// fresh stores in a scratch folder instead, writing nothing.
StoreStatus ImportWriter::prepareStores(bool dryRun)
{
    if (!m_scratch.isValid())
        return StoreStatus::failure(StoreFault::ReadOnly, m_scratch.path());
    const StoreStatus fresh =
        StoreSchema::createSettingsStore(m_scratch.filePath(QStringLiteral("新设置.dat")), true);
    if (!fresh.ok())
        return fresh;
    m_archive = m_paths.archiveFile;
    m_settings = m_paths.settingsFile;
    if (dryRun) {
        if (!QFileInfo::exists(m_archive))
            m_archive = m_scratch.filePath(QStringLiteral("档案.dat"));
        if (!QFileInfo::exists(m_settings))
            m_settings = m_scratch.filePath(QStringLiteral("设置.dat"));
    } else {
        const StoreStatus folder = StoreCopy::makeFolder(m_paths.dataFolder);
        if (!folder.ok())
            return folder;
    }
    StoreStatus made = StoreStatus::success();
    if (!QFileInfo::exists(m_archive))
        made = StoreSchema::createArchiveStore(m_archive);
    if (made.ok() && !QFileInfo::exists(m_settings))
        made = StoreSchema::createSettingsStore(m_settings, true);
    return made;
}

StoreStatus ImportWriter::open(bool dryRun)
{
    m_connection =
        std::make_unique<ScopedConnection>(QStringLiteral("QSQLITE"), QStringLiteral("old-import"));
    QSqlDatabase& db = m_connection->db();
    db.setDatabaseName(m_archive);
    // Another program's save is waited for as briefly as a restore waits.
    db.setConnectOptions(dryRun ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000")
                                : QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open())
        return StoreStatus::failure(db.lastError(), m_archive);
    StoreStatus status = run(QStringLiteral("ATTACH DATABASE ? AS s"), {m_settings});
    if (status.ok())
        status = run(QStringLiteral("ATTACH DATABASE ? AS f"),
                     {m_scratch.filePath(QStringLiteral("新设置.dat"))});
    for (const QString& pragma :
         {QStringLiteral("PRAGMA main.journal_mode=DELETE"),
          QStringLiteral("PRAGMA s.journal_mode=DELETE"), QStringLiteral("PRAGMA synchronous=FULL"),
          QStringLiteral("PRAGMA s.synchronous=FULL")}) {
        if (status.ok() && !dryRun)
            status = run(pragma);
    }
    return status;
}

// Both stores locked at once, then copied as they stand under the locks: the copy is exactly
// what the import starts from, and no other program writes in between.
StoreStatus ImportWriter::lockAndSave(const QDateTime& now, QString& saved)
{
    const StoreStatus locked = run(QStringLiteral("BEGIN EXCLUSIVE"));
    if (!locked.ok())
        return locked;
    saved = BackupCatalog::freshFolder(m_paths.backupFolder + QStringLiteral("/导入前 ") +
                                       now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    StoreStatus status = StoreCopy::makeFolder(saved);
    sqlite3* db = handleOf(m_connection->db());
    if (status.ok() && !db)
        status = StoreStatus::failure(StoreFault::Failed, m_archive);
    if (status.ok())
        status = LockedStoreCopy::save(db, "main", m_archive, saved + QStringLiteral("/档案.dat"),
                                       StoreKind::Archive);
    if (status.ok())
        status = LockedStoreCopy::save(db, "s", m_settings, saved + QStringLiteral("/设置.dat"),
                                       StoreKind::Settings);
    if (!status.ok()) {
        QDir(saved).removeRecursively();
        saved.clear();
        return StoreStatus::failure(
            QStringLiteral("无法在“%1”中留下导入前的数据，没有导入，现在的数据没有改动：%2")
                .arg(QDir::toNativeSeparators(m_paths.backupFolder), status.error()));
    }
    return status;
}

StoreStatus ImportWriter::run(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(m_connection->db());
    if (!query.prepare(sql)) {
        m_lastError = query.lastError();
        return failed(m_archive);
    }
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec()) {
        m_lastError = query.lastError();
        return failed(m_archive);
    }
    return StoreStatus::success();
}

StoreStatus ImportWriter::failed(const QString& path) const
{
    return StoreStatus::failure(m_lastError, path);
}

StoreResult<QStringList> ImportWriter::rowsOf(const QString& sql)
{
    QSqlQuery query(m_connection->db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        m_lastError = query.lastError();
        return failed(m_settings);
    }
    QStringList rows;
    while (query.next()) {
        QStringList pieces;
        for (int i = 0; i < query.record().count(); ++i)
            pieces << piece(query.isNull(i), query.value(i).toString());
        rows << pieces.join(QChar(0x1f));
    }
    if (query.lastError().isValid()) {
        m_lastError = query.lastError();
        return failed(m_settings);
    }
    return rows;
}

StoreResult<qint64> ImportWriter::countOf(const QString& table)
{
    QSqlQuery query(m_connection->db());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) || !query.next()) {
        m_lastError = query.lastError();
        return failed(m_archive);
    }
    return query.value(0).toLongLong();
}

StoreStatus ImportWriter::writeLists(bool dryRun, ImportCounts& counts)
{
    if (!m_data.folder.hasSettingsFile())
        return StoreStatus::success();
    for (int list = 0; list < 3; ++list) {
        const StoreStatus written = writeList(list, dryRun, counts.lists[size_t(list)]);
        if (!written.ok())
            return written;
    }
    return StoreStatus::success();
}

// A list still as a fresh start made it takes the old list in its place; a list the clinic
// changed gets the old entries it does not hold yet.
StoreStatus ImportWriter::writeList(int list, bool dryRun, ImportCounts::List& counts)
{
    const QString table = QString::fromUtf8(kLists[list]);
    const QString select = QStringLiteral("SELECT %1 FROM %2.[%3] ORDER BY rowid")
                               .arg(kListColumns[list], QStringLiteral("%1"), table);
    const StoreResult<QStringList> current = rowsOf(select.arg(QStringLiteral("s")));
    const StoreResult<QStringList> fresh = rowsOf(select.arg(QStringLiteral("f")));
    if (!current.ok() || !fresh.ok())
        return current.ok() ? fresh : current;
    m_listsBefore[size_t(list)] = current.value().size();
    counts.read = oldList(m_data, list).size();
    counts.replaced = current.value() == fresh.value();
    if (counts.replaced && !dryRun) {
        const StoreStatus cleared = run(QStringLiteral("DELETE FROM s.[%1]").arg(table));
        if (!cleared.ok())
            return cleared;
    }
    const QSet<QString> present =
        counts.replaced ? QSet<QString>()
                        : QSet<QString>(current.value().begin(), current.value().end());
    const QString insert =
        QStringLiteral("INSERT INTO s.[%1] (%2) VALUES (?, ?)").arg(table, kListColumns[list]);
    for (const OldEntry& entry : oldList(m_data, list)) {
        if (present.contains(entryText(entry, list)))
            continue;
        ++counts.added;
        const JetValue& first = list == 0 ? entry.code : entry.name;
        const JetValue& second = list == 0 ? entry.name : entry.code;
        if (dryRun)
            continue;
        const StoreStatus added = run(insert, {bindable(first, false), bindable(second, false)});
        if (!added.ok())
            return added;
    }
    return StoreStatus::success();
}

StoreStatus ImportWriter::writeSettings(SettingsChoice choice, bool dryRun, ImportCounts& counts)
{
    if (!m_data.settings)
        return StoreStatus::success();
    const QString select = QStringLiteral(
        "SELECT [医生], [上边距], [左边距], [上边距1], [左边距1], [配药], [名称] FROM %1.[设置] "
        "ORDER BY rowid LIMIT 1");
    const StoreResult<QStringList> current = rowsOf(select.arg(QStringLiteral("s")));
    const StoreResult<QStringList> fresh = rowsOf(select.arg(QStringLiteral("f")));
    if (!current.ok() || !fresh.ok())
        return current.ok() ? fresh : current;
    const QString old = rowText(*m_data.settings);
    if (!current.value().isEmpty() && current.value().first() == old) {
        counts.settings = ImportCounts::Settings::Same;
        return StoreStatus::success();
    }
    const bool take = choice == SettingsChoice::TakeOld ||
                      (choice == SettingsChoice::Auto && current.value() == fresh.value());
    counts.settings = take ? ImportCounts::Settings::Taken : ImportCounts::Settings::Kept;
    if (!take || dryRun)
        return StoreStatus::success();
    QVariantList values;
    for (const JetValue& value : *m_data.settings)
        values << bindable(value, false);
    return run(QStringLiteral("UPDATE s.[设置] SET %1 WHERE rowid = (SELECT min(rowid) FROM "
                              "s.[设置])")
                   .arg(kSettingsColumns),
               values);
}

// A clear old password becomes the program's hash, and only where no login password is set yet:
// one the doctor chose in this program is never replaced unasked.
StoreStatus ImportWriter::writePassword(bool dryRun, ImportCounts& counts)
{
    if (!m_data.password)
        return StoreStatus::success();
    if (PasswordHash::normalized(*m_data.password).isEmpty()) {
        counts.password = ImportCounts::Password::Blank;
        return StoreStatus::success();
    }
    const StoreResult<QStringList> current =
        rowsOf(QStringLiteral("SELECT [密码] FROM main.[密码] ORDER BY rowid LIMIT 1"));
    if (!current.ok())
        return current;
    const QString stored = current.value().value(0).mid(1);
    if (!PasswordHash::normalized(stored).isEmpty()) {
        counts.password = ImportCounts::Password::KeptCurrent;
        return StoreStatus::success();
    }
    counts.password = ImportCounts::Password::Taken;
    if (dryRun)
        return StoreStatus::success();
    const QString hash = PasswordHash::make(*m_data.password);
    if (hash.isEmpty())
        return StoreStatus::failure(
            QStringLiteral("登录密码无法加密保存（系统的加密库出错），没有导入。"));
    return run(QStringLiteral("UPDATE main.[密码] SET [密码] = ? WHERE rowid = (SELECT min(rowid) "
                              "FROM main.[密码])"),
               {hash});
}

StoreStatus ImportWriter::readPresentRecords()
{
    QSqlQuery query(m_connection->db());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM main.[档案]").arg(kRecordColumns))) {
        m_lastError = query.lastError();
        return failed(m_archive);
    }
    while (query.next()) {
        ++m_present[digestOf(query)];
        m_keys.insert(query.value(0).toString());
        ++m_recordsBefore;
    }
    if (query.lastError().isValid()) {
        m_lastError = query.lastError();
        return failed(m_archive);
    }
    return StoreStatus::success();
}

// A record already there with the same key and values is left out, once for each time it is
// there, so that two equal old records still both come over into an archive without them.
StoreStatus ImportWriter::writeRecords(bool dryRun, ImportCounts& counts, const Progress& progress)
{
    QSqlQuery insert(m_connection->db());
    if (!dryRun &&
        !insert.prepare(QStringLiteral("INSERT INTO main.[档案] (%1) VALUES (?, ?, ?, ?, ?, ?, ?, "
                                       "?, ?, ?, ?)")
                            .arg(kRecordColumns))) {
        m_lastError = insert.lastError();
        return failed(m_archive);
    }
    StoreStatus status = StoreStatus::success();
    const JetStatus read = m_reader.readRecords(m_data.folder, [&](const QList<JetValue>& record) {
        if (!status.ok())
            return;
        ++counts.recordsRead;
        if (progress && counts.recordsRead % kProgressEvery == 0)
            progress(counts.recordsRead);
        int& present = m_present[digestOf(record)];
        if (present > 0) {
            --present;
            ++counts.recordsSkipped;
            return;
        }
        ++counts.recordsAdded;
        if (m_keys.contains(record.at(0).text))
            ++counts.recordsBesideSameKey;
        if (dryRun)
            return;
        for (int i = 0; i < record.size(); ++i)
            insert.bindValue(i, bindable(record[i], i == kFeeColumn));
        if (!insert.exec()) {
            m_lastError = insert.lastError();
            status = failed(m_archive);
        }
    });
    if (progress)
        progress(counts.recordsRead);
    if (!read.ok())
        return StoreStatus::failure(read.message());
    if (status.ok() && counts.recordsRead != m_data.recordCount)
        return StoreStatus::failure(
            QStringLiteral("旧的档案在导入时变了（先读到%1张处方，再读时是%2张），没有导入。请关闭"
                           "旧程序后再导入。")
                .arg(m_data.recordCount)
                .arg(counts.recordsRead));
    return status;
}

// Before the commit: every store holds exactly what was meant to be written.
StoreStatus ImportWriter::verify(const ImportCounts& counts, bool dryRun)
{
    const StoreResult<qint64> records = countOf(QStringLiteral("main.[档案]"));
    if (!records.ok())
        return records;
    const qint64 expected = m_recordsBefore + (dryRun ? 0 : counts.recordsAdded);
    if (records.value() != expected)
        return StoreStatus::failure(QStringLiteral("导入后档案中应有%1张处方，实有%2张，没有导入。")
                                        .arg(expected)
                                        .arg(records.value()));
    for (int list = 0; list < 3 && !dryRun && m_data.folder.hasSettingsFile(); ++list) {
        const ImportCounts::List& written = counts.lists[size_t(list)];
        const StoreResult<qint64> entries =
            countOf(QStringLiteral("s.[%1]").arg(QString::fromUtf8(kLists[list])));
        const qint64 want = (written.replaced ? 0 : m_listsBefore[size_t(list)]) + written.added;
        if (!entries.ok())
            return entries;
        if (entries.value() != want)
            return StoreStatus::failure(
                QStringLiteral("导入后表“%1”中应有%2项，实有%3项，没有导入。")
                    .arg(QString::fromUtf8(kLists[list]))
                    .arg(want)
                    .arg(entries.value()));
    }
    return StoreStatus::success();
}

StoreStatus ImportWriter::checkAfterwards(const QString& saved) const
{
    StoreStatus status = StoreCopy::check(m_archive, StoreKind::Archive);
    if (status.ok())
        status = StoreCopy::check(m_settings, StoreKind::Settings);
    if (status.ok())
        return status;
    return StoreStatus::failure(
        QStringLiteral("导入已写入，但导入后的检查没有通过：%1\n导入前的数据保存在“%2”，可以用"
                       "“设置”菜单的“恢复备份...”把它放回。")
            .arg(status.error(), QDir::toNativeSeparators(saved)));
}

} // namespace quilloa
