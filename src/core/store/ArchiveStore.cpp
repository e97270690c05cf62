#include "core/store/ArchiveStore.h"

#include "core/store/UnsettledSave.h"
#include "core/store/file/DirectRows.h"
#include "core/store/file/NameIndex.h"
#include "core/store/server/ServerConnection.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/server/ServerGuards.h"
#include "core/store/server/ServerSearch.h"
#include "core/store/server/ServerSession.h"
#include "core/store/sql/BoundQuery.h"
#include "core/store/sql/StoreSql.h"
#include "core/store/sql/VisitStatements.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <chrono>

namespace quilloa {
namespace {

// The server's process each unsettled save went to, by the save's signature.
QHash<QString, int>& attemptBackends()
{
    static QHash<QString, int> backends;
    return backends;
}

// How long a save on a server may take as the user sees it: most of it for the attempt, which
// the server's own statement limit (four fifths of the reply limit) has answered by then, the
// rest for ending the attempt's process and looking.
std::chrono::milliseconds serverSaveLimit()
{
    const auto limit = ServerDriver::replyLimit();
    return limit * 4 / 5 +
           std::max<std::chrono::milliseconds>(std::chrono::seconds(2), limit * 2 / 5);
}

// yyyy-mm-dd
constexpr int kWholeDayLength = 10;
const QString kEntryColumns = QStringLiteral("SELECT rowid, \"姓名\", \"名称\" FROM \"档案\" ");

QString recordColumns(const StoreConnection& file)
{
    return QStringLiteral("SELECT \"名称\", \"姓名\", \"性别\", \"年龄\", \"日期\", \"诊断\", "
                          "\"地址\", \"处方\", \"医生\", \"配药\", %1 FROM \"档案\" ")
        .arg(StoreSql::fee(file));
}

std::optional<Money> feeOf(const DirectRow& r, int column)
{
    return r.isNull(column) ? std::nullopt
                            : std::optional<Money>(Money::fromUnits(r.integer(column)));
}

// A column that holds NULL reads as a null text, told apart from an empty one.
QString textOrNull(const DirectRow& r, int column)
{
    return r.isNull(column) ? QString() : r.text(column);
}

PrescriptionRecord readRecord(const DirectRow& r)
{
    PrescriptionRecord record;
    record.key = textOrNull(r, 0);
    record.name = textOrNull(r, 1);
    record.sex = textOrNull(r, 2);
    record.age = textOrNull(r, 3);
    record.date = textOrNull(r, 4);
    record.diagnosis = textOrNull(r, 5);
    record.address = textOrNull(r, 6);
    record.body = textOrNull(r, 7);
    record.doctor = textOrNull(r, 8);
    record.dispenser = textOrNull(r, 9);
    record.fee = feeOf(r, 10);
    return record;
}

StoreResult<ArchiveStore::FirstRows> firstRows(const StoreResult<QList<qint64>>& rows, bool paged)
{
    if (!rows.ok())
        return StoreStatus(rows);
    return ArchiveStore::FirstRows{rows.value(), paged};
}

} // namespace

ArchiveStore::ArchiveStore(const QString& filePath) : m_file(filePath) {}

ArchiveStore::ArchiveStore(StoreConnection store) : m_file(std::move(store)) {}

StoreResult<QList<ArchiveEntry>> ArchiveStore::entries(const QString& sql,
                                                       const QVariantList& values,
                                                       DirectRows::View* seen,
                                                       qsizetype expected) const
{
    QList<ArchiveEntry> list;
    list.reserve(expected);
    const StoreStatus read = DirectRows::read(
        m_file, sql, values,
        [&list](const DirectRow& r) {
            list.append({r.integer(0), r.text(1), r.text(2)});
        },
        seen);
    if (!read.ok())
        return read;
    return list;
}

StoreResult<QList<ArchiveEntry>> ArchiveStore::firstEntries(int limit) const
{
    // A screenful is sized at once; a larger limit grows as the rows come.
    constexpr int kReservedAtMost = 1000;
    static const QString sql = kEntryColumns + QStringLiteral("ORDER BY rowid LIMIT ?");
    return entries(sql, {StoreSql::limit(m_file, limit)}, nullptr,
                   qBound(0, limit, kReservedAtMost));
}

std::optional<QString> ArchiveStore::indexCharacter(const QString& nameText,
                                                    const QString& datePrefix) const
{
    // A whole day is found sooner by the date index, among its few visits.
    if (datePrefix.size() >= kWholeDayLength)
        return std::nullopt;
    return NameIndex::rarestCharacter(m_file, nameText);
}

// A file changed under the remembered answer (a record saved here or by another room) is read
// again after looking afresh; one that changed even between that look and the read is read the
// plain way, which is exact whatever the index holds.
template <typename T>
StoreResult<T> ArchiveStore::readSearch(const QString& nameText, const QString& datePrefix,
                                        const SearchRead<T>& read) const
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::optional<QString> character = indexCharacter(nameText, datePrefix);
        if (!character)
            return read(std::nullopt, nullptr);
        DirectRows::View seen;
        StoreResult<T> found = read(character, &seen);
        if (found.ok() && NameIndex::answeredAt(m_file, seen))
            return found;
        NameIndex::forget(m_file.connectionName());
        if (!found.ok() && attempt > 0)
            return found;
    }
    return read(std::nullopt, nullptr);
}

// A name holding a character reads only the records whose names hold its rarest one, in row
// order, so a page of them is read by walking on from the page before.
ArchiveStore::Statement ArchiveStore::indexStatement(const QString& character,
                                                     const QString& nameText,
                                                     const QString& datePrefix, bool rowsOnly,
                                                     const std::optional<Page>& page) const
{
    const QString after = page ? QStringLiteral(" AND \"行\" > ?") : QString();
    const QString order =
        page ? QStringLiteral(" ORDER BY \"行\" LIMIT ?") : QStringLiteral(" ORDER BY \"行\"");
    Statement statement;
    // Every record indexed under a lone character matches it, and only dated records are
    // indexed: the keys of the index answer alone.
    if (rowsOnly && datePrefix.isEmpty() && NameIndex::isOneCharacter(nameText)) {
        statement = {QStringLiteral("SELECT \"行\" FROM \"档案_姓名字\" WHERE \"字\" = ?") + after +
                         order,
                     {character}};
    } else {
        statement = {(rowsOnly ? QStringLiteral("SELECT \"行\" ")
                               : QStringLiteral("SELECT \"行\", \"姓名\", \"名称\" ")) +
                         QStringLiteral("FROM \"档案_姓名字\" WHERE \"字\" = ? AND \"姓名\" LIKE ? "
                                        "AND \"日期\" LIKE ?") +
                         after + order,
                     {character, QStringLiteral("%") + nameText + QStringLiteral("%"),
                      datePrefix + QStringLiteral("%")}};
    }
    if (page)
        statement.values << page->afterRow << StoreSql::limit(m_file, page->limit);
    return statement;
}

ArchiveStore::Statement ArchiveStore::searchStatement(const QString& nameText,
                                                      const QString& datePrefix,
                                                      bool rowsOnly) const
{
    return statementFor(indexCharacter(nameText, datePrefix), nameText, datePrefix, rowsOnly);
}

ArchiveStore::Statement ArchiveStore::statementFor(const std::optional<QString>& character,
                                                   const QString& nameText,
                                                   const QString& datePrefix, bool rowsOnly) const
{
    if (character)
        return indexStatement(*character, nameText, datePrefix, rowsOnly, std::nullopt);
    const QString namePattern = QStringLiteral("%") + nameText + QStringLiteral("%");
    const QString datePattern = datePrefix + QStringLiteral("%");
    // An empty name box matches every name there is: while no record lacks one, the date
    // index answers a date alone, rows included, without reading a record.
    if (nameText.isEmpty() && !datePrefix.isEmpty() && rowsOnly && !lacksNames())
        return {QStringLiteral("SELECT rowid FROM \"档案\" WHERE \"日期\" %1 ORDER BY +rowid")
                    .arg(StoreSql::like(m_file)),
                {datePattern}};
    // "+rowid" keeps the same order but stops the planner from walking the whole table, bodies
    // and all, just because that yields rowid order: it reads the narrow index on
    // (姓名, 日期, 名称), or the date index when a date is given, and sorts the matches.
    return {(rowsOnly ? QStringLiteral("SELECT rowid FROM \"档案\" ") : kEntryColumns) +
                QStringLiteral("WHERE \"姓名\" %1 AND \"日期\" %1 ORDER BY +rowid")
                    .arg(StoreSql::like(m_file)),
            {namePattern, datePattern}};
}

StoreResult<QList<ArchiveEntry>> ArchiveStore::search(const QString& nameText,
                                                      const QString& datePrefix) const
{
    if (m_file.isServer())
        return ServerSearch(m_file).entries(nameText, datePrefix);
    return readSearch<QList<ArchiveEntry>>(
        nameText, datePrefix,
        [this, &nameText, &datePrefix](const std::optional<QString>& character,
                                       DirectRows::View* seen) {
            const Statement query = statementFor(character, nameText, datePrefix, false);
            return entries(query.sql, query.values, seen);
        });
}

StoreResult<QList<qint64>> ArchiveStore::searchRows(const QString& nameText,
                                                    const QString& datePrefix) const
{
    if (m_file.isServer())
        return ServerSearch(m_file).rows(nameText, datePrefix);
    return readSearch<QList<qint64>>(
        nameText, datePrefix,
        [this, &nameText, &datePrefix](const std::optional<QString>& character,
                                       DirectRows::View* seen) {
            return rowIds(statementFor(character, nameText, datePrefix, true), seen);
        });
}

bool ArchiveStore::readsInPages(const QString& nameText, const QString& datePrefix) const
{
    if (NameIndex::literalCharacters(nameText).isEmpty())
        return datePrefix.isEmpty();
    return indexCharacter(nameText, datePrefix).has_value();
}

StoreResult<ArchiveStore::FirstRows>
ArchiveStore::searchFirst(const QString& nameText, const QString& datePrefix, int pageSize) const
{
    // Without a page, the whole search goes the engine's own way (a server has its own indexes).
    const bool everyName = NameIndex::literalCharacters(nameText).isEmpty();
    if (m_file.isServer() && !(everyName && datePrefix.isEmpty()))
        return firstRows(searchRows(nameText, datePrefix), false);
    return readSearch<FirstRows>(
        nameText, datePrefix, [&](const std::optional<QString>& character, DirectRows::View* seen) {
            if (character || (everyName && datePrefix.isEmpty()))
                return firstRows(
                    rowIds(pageFor(character, nameText, datePrefix, 0, pageSize), seen), true);
            return firstRows(rowIds(statementFor(character, nameText, datePrefix, true), seen),
                             false);
        });
}

bool ArchiveStore::lacksNames() const
{
    // The name index finds a missing name at once. Unknown counts as lacking: the full query
    // is right either way.
    bool lacking = true;
    const StoreStatus read = BoundQuery::read(
        m_file, QStringLiteral("SELECT EXISTS (SELECT 1 FROM \"档案\" WHERE \"姓名\" IS NULL)"), {},
        [&lacking](const QSqlQuery& q) { lacking = q.value(0).toBool(); });
    return !read.ok() || lacking;
}

void ArchiveStore::prepareNameSearch(int pageSize) const
{
    // The commonest surname is likely the latest patient's: reading what a search for it shows
    // first, its lines' texts included, brings the statements and the pages a first search
    // needs into memory. A warm-up only: a store that fails here is told by the search the user
    // then makes.
    QString latest;
    static_cast<void>(BoundQuery::read(
        m_file, QStringLiteral("SELECT \"姓名\" FROM \"档案\" ORDER BY rowid DESC LIMIT 1"), {},
        [&latest](const QSqlQuery& q) { latest = q.value(0).toString(); }));
    if (latest.isEmpty())
        return;
    const auto first = searchFirst(latest.left(1), QString(), pageSize);
    if (first.ok())
        static_cast<void>(entriesOf(first.value().rows));
}

ArchiveStore::Statement ArchiveStore::pageStatement(const QString& nameText,
                                                    const QString& datePrefix, qint64 afterRow,
                                                    int limit) const
{
    return pageFor(indexCharacter(nameText, datePrefix), nameText, datePrefix, afterRow, limit);
}

ArchiveStore::Statement ArchiveStore::pageFor(const std::optional<QString>& character,
                                              const QString& nameText, const QString& datePrefix,
                                              qint64 afterRow, int limit) const
{
    if (character)
        return indexStatement(*character, nameText, datePrefix, true, Page{afterRow, limit});
    // Matching names and dates are dense in row order when no name character narrows them, so
    // walking the rows from `afterRow` meets a page of them soon, where going through an index
    // would first find and sort every match.
    return {QStringLiteral("SELECT rowid FROM \"档案\" WHERE \"姓名\" %1 AND \"日期\" %1 AND "
                           "rowid > ? ORDER BY rowid LIMIT ?")
                .arg(StoreSql::like(m_file)),
            {QStringLiteral("%") + nameText + QStringLiteral("%"), datePrefix + QStringLiteral("%"),
             afterRow, StoreSql::limit(m_file, limit)}};
}

StoreResult<QList<qint64>> ArchiveStore::searchRowsAfter(const QString& nameText,
                                                         const QString& datePrefix, qint64 afterRow,
                                                         int limit) const
{
    return readSearch<QList<qint64>>(
        nameText, datePrefix, [&](const std::optional<QString>& character, DirectRows::View* seen) {
            return rowIds(pageFor(character, nameText, datePrefix, afterRow, limit), seen);
        });
}

StoreResult<QList<qint64>> ArchiveStore::rowIds(const Statement& query,
                                                DirectRows::View* seen) const
{
    QList<qint64> rows;
    const StoreStatus read = DirectRows::read(
        m_file, query.sql, query.values, [&rows](const DirectRow& r) { rows.append(r.integer(0)); },
        seen);
    if (!read.ok())
        return read;
    return rows;
}

StoreResult<QList<ArchiveEntry>> ArchiveStore::entriesOf(const QList<qint64>& rows) const
{
    // A block of rows is one statement: a read per row would pay for taking and letting go of the
    // file each time. The rows come back in the file's order and are put back in the asked one.
    QHash<qint64, ArchiveEntry> byRow;
    byRow.reserve(rows.size());
    const QString sql = kEntryColumns + QStringLiteral("WHERE rowid IN (?") +
                        QStringLiteral(", ?").repeated(kRowsPerRead - 1) + QLatin1Char(')');
    for (qsizetype first = 0; first < rows.size(); first += kRowsPerRead) {
        QVariantList values;
        values.reserve(kRowsPerRead);
        for (const qint64 row : rows.mid(first, kRowsPerRead))
            values << row;
        // Unused places never match, so one statement serves every block.
        while (values.size() < kRowsPerRead)
            values << QVariant(QMetaType(QMetaType::LongLong));
        const StoreStatus read =
            DirectRows::read(m_file, sql, values, [&byRow](const DirectRow& r) {
                byRow.insert(r.integer(0), {r.integer(0), r.text(1), r.text(2)});
            });
        if (!read.ok())
            return read;
    }
    QList<ArchiveEntry> list;
    list.reserve(rows.size());
    for (const qint64 row : rows) {
        const auto entry = byRow.constFind(row);
        if (entry != byRow.cend())
            list.append(*entry);
    }
    return list;
}

StoreResult<std::optional<PrescriptionRecord>> ArchiveStore::record(const QString& sql,
                                                                    const QVariant& value) const
{
    std::optional<PrescriptionRecord> found;
    const StoreStatus read = DirectRows::read(m_file, sql, {value}, [&found](const DirectRow& r) {
        if (!found)
            found = readRecord(r);
    });
    if (!read.ok())
        return read;
    return found;
}

StoreResult<std::optional<PrescriptionRecord>> ArchiveStore::recordAt(qint64 rowId) const
{
    return record(recordColumns(m_file) + QStringLiteral("WHERE rowid = ?"), rowId);
}

StoreResult<std::optional<PrescriptionRecord>>
ArchiveStore::firstRecordWithKey(const QString& key) const
{
    return record(
        recordColumns(m_file) + QStringLiteral("WHERE \"名称\" = ? ORDER BY rowid LIMIT 1"), key);
}

StoreResult<qint64> ArchiveStore::add(const PrescriptionRecord& r)
{
    if (!m_file.isServer())
        return insert(r);
    // One limit for the whole save as the doctor waits for it: the attempt itself, and, when
    // it went unanswered, finding out what became of it.
    const auto start = std::chrono::steady_clock::now();
    const ServerDriver::Deadline whole(start + serverSaveLimit());
    // Only once the server's process that ran an attempt is gone can the attempt no longer
    // commit; before that, not finding the record proves nothing.
    const auto outcomeOf = [this, &r](int backend) -> StoreResult<std::optional<qint64>> {
        const StoreResult<bool> ended = ServerSession::end(m_file, backend);
        if (!ended.ok())
            return unknownOutcome(ended);
        if (!ended.value())
            return unknownOutcome(StoreStatus::success());
        const StoreResult<std::optional<qint64>> found = savedRow(r);
        return found.ok() ? found : StoreResult<std::optional<qint64>>(unknownOutcome(found));
    };
    const QString signature = signatureOf(r);
    // A save whose outcome could not be learnt is looked for before it is tried again.
    if (unsettledSaves().contains(signature)) {
        const StoreResult<std::optional<qint64>> found =
            outcomeOf(attemptBackends().value(signature));
        if (!found.ok())
            return found;
        unsettledSaves().remove(signature);
        attemptBackends().remove(signature);
        if (found.value())
            return *found.value();
    }
    int backend = 0;
    const StoreResult<qint64> added = [this, &r, start, &backend]() -> StoreResult<qint64> {
        // The server's own statement limit has answered by then.
        const ServerDriver::Deadline attempt(start + ServerDriver::replyLimit() * 4 / 5);
        // A connection that cannot be had is a save that certainly did not happen.
        const StoreResult<QSqlDatabase> connected = m_file.database();
        if (!connected.ok())
            return StoreStatus(connected);
        backend = ServerConnection::backendOf(connected.value());
        return insert(r);
    }();
    if (added.ok() || backend == 0 ||
        (added.fault() != StoreFault::Unreachable && added.fault() != StoreFault::TimedOut))
        return added;
    // The statement went out but its answer did not come back: the server may well have
    // stored the record, or may still do so. Asking is the only way to tell the user the
    // truth, and to keep a second 保存 from storing it twice.
    const StoreResult<std::optional<qint64>> found = outcomeOf(backend);
    if (!found.ok()) {
        unsettledSaves().insert(signature);
        attemptBackends().insert(signature, backend);
        return found;
    }
    if (found.value())
        return *found.value();
    return StoreStatus::failure(
        QStringLiteral("这张处方没有保存（%1）。处方仍在屏幕上，请稍后再按“保存”。")
            .arg(added.fault() == StoreFault::TimedOut
                     ? QStringLiteral("服务器没有及时回答，这次保存已被撤销")
                     : QStringLiteral("与服务器的连接中断了")));
}

StoreResult<qint64> ArchiveStore::insert(const PrescriptionRecord& r)
{
    return BoundQuery::insert(
        m_file,
        QStringLiteral("INSERT INTO \"档案\" (\"名称\", \"姓名\", \"性别\", \"年龄\", \"日期\", "
                       "\"诊断\", \"地址\", \"处方\", \"医生\", \"配药\", \"收费\") "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, %1)")
            .arg(StoreSql::feeParameter(m_file)),
        valuesOf(r));
}

QVariantList ArchiveStore::valuesOf(const PrescriptionRecord& r)
{
    const QVariant fee =
        r.fee ? QVariant(r.fee->units()) : QVariant(QMetaType(QMetaType::LongLong));
    return {r.key,     r.name, r.sex,    r.age,       r.date, r.diagnosis,
            r.address, r.body, r.doctor, r.dispenser, fee};
}

// A sheet is saved once and then closed, so a record with the same key and every value the
// same can only be this save's.
StoreResult<std::optional<qint64>> ArchiveStore::savedRow(const PrescriptionRecord& r) const
{
    std::optional<qint64> found;
    const StoreStatus read = BoundQuery::read(
        m_file,
        QStringLiteral("SELECT rowid FROM \"档案\" WHERE \"名称\" = ? AND \"姓名\" = ? AND "
                       "\"性别\" = ? AND \"年龄\" = ? AND \"日期\" = ? AND \"诊断\" = ? AND "
                       "\"地址\" = ? AND \"处方\" = ? AND \"医生\" = ? AND \"配药\" = ? AND "
                       "\"收费\" IS NOT DISTINCT FROM %1 ORDER BY rowid DESC LIMIT 1")
            .arg(StoreSql::feeParameter(m_file)),
        valuesOf(r), [&found](const QSqlQuery& q) { found = q.value(0).toLongLong(); });
    if (!read.ok())
        return read;
    return found;
}

QString ArchiveStore::signatureOf(const PrescriptionRecord& r)
{
    QStringList parts;
    for (const QVariant& value : valuesOf(r))
        parts << (value.isNull() ? QStringLiteral("\x1fnull") : value.toString());
    return parts.join(QChar(0x1e));
}

QSet<QString>& ArchiveStore::unsettledSaves()
{
    static QSet<QString> saves;
    return saves;
}

// `cause`: why the outcome could not be learnt; none when the attempt's process stays.
StoreStatus ArchiveStore::unknownOutcome(const StoreStatus& cause) const
{
    return UnsettledSave::status(m_file.path(), cause.ok());
}

StoreStatus ArchiveStore::remove(qint64 rowId, const QString& key)
{
    if (m_file.isServer())
        return ServerGuards::remove(m_file, QStringLiteral("档案"), rowId, key);
    return BoundQuery::change(
        m_file, QStringLiteral("DELETE FROM \"档案\" WHERE rowid = ? AND \"名称\" = ?"),
        {rowId, key});
}

StoreStatus ArchiveStore::readFees(const VisitDates& dates, const FeeReader& reader) const
{
    return DirectRows::read(m_file, VisitStatements::fees(m_file, dates),
                            {VisitStatements::value(dates)},
                            [&reader](const DirectRow& r) { reader(feeOf(r, 0)); });
}

StoreStatus ArchiveStore::readDatedFees(const VisitDates& dates, const DatedFeeReader& reader) const
{
    return DirectRows::read(m_file, VisitStatements::datedFees(m_file, dates),
                            {VisitStatements::value(dates)},
                            [&reader](const DirectRow& r) { reader(r.text(0), feeOf(r, 1)); });
}

StoreStatus ArchiveStore::readVisits(const VisitDates& dates, const VisitReader& reader) const
{
    return DirectRows::read(m_file, VisitStatements::visits(m_file, dates),
                            {VisitStatements::value(dates)}, [&reader](const DirectRow& r) {
                                reader(StoredVisit{r.utf8(0), r.utf8(1), r.utf8(2), r.utf8(3),
                                                   r.utf8(4), r.utf8(5), feeOf(r, 6)});
                            });
}

StoreResult<QString> ArchiveStore::loginPassword() const
{
    std::optional<QString> password;
    const StoreStatus read = BoundQuery::read(
        m_file, QStringLiteral("SELECT \"密码\" FROM \"密码\" ORDER BY rowid LIMIT 1"), {},
        [&password](const QSqlQuery& q) { password = q.value(0).toString(); });
    if (!read.ok())
        return read;
    if (!password)
        // The store always holds its one password row; without it the file is not sound.
        return StoreStatus::failure(StoreFault::Damaged, m_file.path(),
                                    QStringLiteral("password row missing"));
    return *password;
}

StoreStatus ArchiveStore::setLoginPassword(const QString& password)
{
    return BoundQuery::change(
        m_file,
        QStringLiteral(
            "UPDATE \"密码\" SET \"密码\" = ? WHERE rowid = (SELECT min(rowid) FROM \"密码\")"),
        {password});
}

StoreResult<bool> ArchiveStore::changeLoginPassword(const QString& password, const QString& read)
{
    const StoreStatus written = BoundQuery::change(
        m_file,
        QStringLiteral("UPDATE \"密码\" SET \"密码\" = ? WHERE rowid = (SELECT min(rowid) FROM "
                       "\"密码\") AND %1")
            .arg(StoreSql::sameAs(m_file, QStringLiteral("\"密码\""))),
        {password, QString(QLatin1String("")), read});
    if (written.fault() == StoreFault::NoRow)
        return false;
    if (!written.ok())
        return written;
    return true;
}

} // namespace quilloa
