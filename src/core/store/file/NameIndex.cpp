#include "core/store/file/NameIndex.h"

#include "core/store/sql/BoundQuery.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace quilloa {
namespace {

// The index is small beside the records: a few rows of (character, row, name, date, key) per
// record, ordered by character then row, so the rows of one character come in saving order.
// Records without a visit date are left out: no search can find them (the date is matched
// with LIKE, which never matches NULL), and a one-character search then reads the keys alone.
const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS [档案_序号] ([序号] INTEGER PRIMARY KEY)",
    "CREATE TABLE IF NOT EXISTS [档案_姓名字] ([字] TEXT NOT NULL, [行] INTEGER NOT NULL, "
    "[姓名] TEXT, [日期] TEXT, [名称] TEXT, PRIMARY KEY ([字], [行])) WITHOUT ROWID",
    // Records up to 建至 were stored before the triggers; those up to 已建至 are indexed.
    "CREATE TABLE IF NOT EXISTS [档案_姓名字进度] ([已建至] INTEGER NOT NULL, "
    "[建至] INTEGER NOT NULL)",
};

// `row` is new or old; the overlong marker '' stands for a name longer than kIndexedLength.
QString insertCharacters(const QString& row)
{
    return QStringLiteral(
               "INSERT OR IGNORE INTO [档案_姓名字] SELECT lower(substr(%1.[姓名], [序号], 1)), "
               "%1.rowid, %1.[姓名], %1.[日期], %1.[名称] FROM [档案_序号] "
               "WHERE [序号] <= length(%1.[姓名]) AND %1.[日期] IS NOT NULL; "
               "INSERT OR IGNORE INTO [档案_姓名字] SELECT '', %1.rowid, %1.[姓名], %1.[日期], "
               "%1.[名称] WHERE length(%1.[姓名]) > %2 AND %1.[日期] IS NOT NULL;")
        .arg(row)
        .arg(NameIndex::kIndexedLength);
}

QString deleteCharacters(const QString& row)
{
    return QStringLiteral("DELETE FROM [档案_姓名字] WHERE [行] = %1.rowid AND [字] IN "
                          "(SELECT lower(substr(%1.[姓名], [序号], 1)) FROM [档案_序号] "
                          "WHERE [序号] <= length(%1.[姓名]) UNION ALL SELECT '');")
        .arg(row);
}

QStringList triggers()
{
    const QString old = QStringLiteral("old");
    const QString fresh = QStringLiteral("new");
    // Any update, not only one of the name: the index copies date and key, and a rowid may
    // change.
    return {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS [档案_姓名字_增] AFTER INSERT ON [档案] "
                       "BEGIN %1 END")
            .arg(insertCharacters(fresh)),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS [档案_姓名字_删] AFTER DELETE ON [档案] "
                       "BEGIN %1 END")
            .arg(deleteCharacters(old)),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS [档案_姓名字_改] AFTER UPDATE ON [档案] "
                       "BEGIN %1 %2 END")
            .arg(deleteCharacters(old), insertCharacters(fresh)),
    };
}

const char* const kObjects[] = {
    "DROP TRIGGER IF EXISTS [档案_姓名字_增]", "DROP TRIGGER IF EXISTS [档案_姓名字_删]",
    "DROP TRIGGER IF EXISTS [档案_姓名字_改]", "DROP TABLE IF EXISTS [档案_姓名字]",
    "DROP TABLE IF EXISTS [档案_姓名字进度]",  "DROP TABLE IF EXISTS [档案_序号]",
};

// Whether the store's index is the one this program keeps (an earlier build indexed records
// without a date too, which the one-character search no longer checks for).
bool isCurrent(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return BoundQuery::exec(query, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"),
                            {QStringLiteral("档案_姓名字_增")}) &&
           query.next() &&
           query.value(0).toString().contains(insertCharacters(QStringLiteral("new")));
}

// The last record the index should hold with a character, among rows `condition` picks.
std::optional<QVariantList> lastIndexable(QSqlDatabase& db, const QString& condition, qint64 row)
{
    QSqlQuery query(db);
    if (!BoundQuery::exec(query,
                          QStringLiteral("SELECT lower(substr(\"姓名\", 1, 1)), rowid, \"姓名\", "
                                         "\"日期\", \"名称\" FROM \"档案\" WHERE \"日期\" IS NOT "
                                         "NULL AND length(\"姓名\") > 0 AND ") +
                              condition + QStringLiteral(" ORDER BY rowid DESC LIMIT 1"),
                          {row}) ||
        !query.next())
        return std::nullopt;
    QVariantList values;
    for (int column = 0; column < 5; ++column)
        values << query.value(column);
    return values;
}

bool holds(QSqlDatabase& db, const QVariantList& record)
{
    QSqlQuery query(db);
    // The record's own values, a NULL key included, are looked for as they are stored.
    return BoundQuery::exec(query,
                            QStringLiteral("SELECT 1 FROM \"档案_姓名字\" WHERE \"字\" = ? AND "
                                           "\"行\" = ? AND \"姓名\" IS ? AND \"日期\" IS ? AND "
                                           "\"名称\" IS ?"),
                            record, BoundQuery::Binding::AsStored) &&
           query.next();
}

// Whether the records still carry the row numbers the index holds them under. A VACUUM by
// another tool, or a reload from a dump, may number the rows afresh without firing a trigger;
// every record after the first gap then moves, the last one included. So the last record the
// index should hold must sit in it under its own row with its own texts: two lookups, cheap
// enough for every opening.
bool keepsRowNumbers(QSqlDatabase& db)
{
    QSqlQuery progress(db);
    if (!progress.exec(
            QStringLiteral("SELECT \"已建至\", \"建至\" FROM \"档案_姓名字进度\" LIMIT 1")) ||
        !progress.next())
        return false;
    const qint64 built = progress.value(0).toLongLong();
    const qint64 before = progress.value(1).toLongLong();
    progress = QSqlQuery();
    // Records after `before` came through the triggers; those up to `built` were filled in.
    std::optional<QVariantList> last = lastIndexable(db, QStringLiteral("rowid > ?"), before);
    if (!last)
        last = lastIndexable(db, QStringLiteral("rowid <= ?"), built);
    return !last || holds(db, *last);
}

// Ranks candidates without counting every row of a common character.
constexpr int kCountCap = 20000;
// A typed text longer than this is narrowed by its first characters; the LIKE does the rest.
constexpr int kCharactersTried = 6;
constexpr int kCountsKept = 20000;

// How many index rows a character of a store file was found to have: exactly, or at least
// that many when the count stopped at its limit.
struct CharacterCount
{
    qint64 atLeast = 0;
    bool exact = false;
};

// Index rows for the records whose rows lie in a range (the two bound values), as the insert
// trigger makes them; sorted, so a large range adds to the index's end instead of all over it.
QStringList fillStatements()
{
    return {
        QStringLiteral(
            "INSERT OR IGNORE INTO [档案_姓名字] SELECT lower(substr(a.[姓名], s.[序号], 1)), "
            "a.rowid, a.[姓名], a.[日期], a.[名称] FROM [档案] AS a CROSS JOIN [档案_序号] AS s "
            "WHERE a.rowid > ? AND a.rowid <= ? AND s.[序号] <= length(a.[姓名]) "
            "AND a.[日期] IS NOT NULL ORDER BY 1, 2"),
        QStringLiteral("INSERT OR IGNORE INTO [档案_姓名字] SELECT '', rowid, [姓名], [日期], "
                       "[名称] FROM [档案] WHERE rowid > ? AND rowid <= ? AND length([姓名]) > "
                       "%1 AND [日期] IS NOT NULL ORDER BY rowid")
            .arg(NameIndex::kIndexedLength),
    };
}

QHash<QString, CharacterCount>& countsFound()
{
    static QHash<QString, CharacterCount> counts;
    return counts;
}

// Held connection -> the state of its file in which the index was last found able to answer.
QHash<QString, DirectRows::View>& answersFound()
{
    static QHash<QString, DirectRows::View> answers;
    return answers;
}

} // namespace

bool NameIndex::isOneCharacter(const QString& nameText)
{
    const QList<uint> characters = nameText.toUcs4();
    return characters.size() == 1 && characters.first() != U'%' && characters.first() != U'_' &&
           characters.first() != 0 && !QChar::isSurrogate(characters.first());
}

bool NameIndex::isSound(QSqlDatabase& db)
{
    return db.tables().contains(QStringLiteral("档案_姓名字进度")) && isCurrent(db) &&
           keepsRowNumbers(db);
}

QSqlError NameIndex::create(QSqlDatabase& db)
{
    if (!db.tables().contains(QStringLiteral("档案")) || isSound(db))
        return QSqlError();
    const bool existed = db.tables().contains(QStringLiteral("档案_姓名字进度"));
    QSqlQuery query(db);
    QStringList statements;
    for (const char* statement : kObjects) {
        if (existed)
            statements << QString::fromUtf8(statement);
    }
    for (const char* statement : kTables)
        statements << QString::fromUtf8(statement);
    for (int position = 1; position <= kIndexedLength; ++position)
        statements << QStringLiteral("INSERT OR IGNORE INTO [档案_序号] VALUES (%1)").arg(position);
    statements << triggers();
    // Records already stored are those up to the largest row now; later ones come through
    // the triggers.
    statements << QStringLiteral(
        "INSERT INTO [档案_姓名字进度] SELECT 0, coalesce(max(rowid), 0) FROM [档案]");
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return query.lastError();
    }
    return QSqlError();
}

void NameIndex::ensure(QSqlDatabase& db)
{
    if (!db.tables().contains(QStringLiteral("档案")) || isSound(db))
        return;
    // All or nothing: triggers without the progress row would leave older records unindexed
    // while searches trusted the index.
    if (!db.transaction())
        return;
    if (create(db).isValid() || !db.commit())
        db.rollback();
}

StoreResult<bool> NameIndex::isComplete(const StoreConnection& file)
{
    // Nothing to build on a server: it searches with its own indexes.
    if (file.isServer())
        return true;
    bool complete = false;
    const StoreStatus read = BoundQuery::read(
        file, QStringLiteral("SELECT [已建至] >= [建至] FROM [档案_姓名字进度] LIMIT 1"), {},
        [&complete](const QSqlQuery& q) { complete = q.value(0).toBool(); });
    if (!read.ok())
        return read;
    return complete;
}

namespace {

struct Progress
{
    qint64 done = 0;
    qint64 target = 0;
};

std::optional<Progress> progressOf(QSqlDatabase& db, QSqlError* error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT [已建至], [建至] FROM [档案_姓名字进度] LIMIT 1")) ||
        !query.next()) {
        *error = query.lastError();
        return std::nullopt;
    }
    return Progress{query.value(0).toLongLong(), query.value(1).toLongLong()};
}

// Indexes the records of rows (from, to], inside the caller's transaction.
bool indexRecords(QSqlQuery& query, qint64 from, qint64 to)
{
    for (const QString& sql : fillStatements()) {
        if (!BoundQuery::exec(query, sql, {from, to}))
            return false;
    }
    return true;
}

// Indexes batch after batch from where the progress stands, at least one, until every record is
// indexed, `until` has expired or the caller stops; how far it got, or none on a failure.
std::optional<qint64> indexBatches(QSqlQuery& query, const Progress& progress, int records,
                                   const QDeadlineTimer& until,
                                   const std::function<bool()>& stopped)
{
    qint64 next = progress.done;
    while (next < progress.target) {
        const qint64 from = next;
        next = std::min(progress.target, from + qint64(records));
        if (!indexRecords(query, from, next))
            return std::nullopt;
        if (until.hasExpired() || (stopped && stopped()))
            break;
    }
    return next;
}

} // namespace

StoreResult<bool> NameIndex::build(const StoreConnection& file, int records,
                                   const QDeadlineTimer& until)
{
    if (file.isServer())
        return true;
    StoreResult<QSqlDatabase> db = file.database();
    if (!db.ok())
        return StoreStatus(db);
    QSqlDatabase connection = db.value();
    const StoreResult<bool> built = build(connection, file.path(), records, until);
    // As after any failed operation, the store is opened afresh for the next one.
    if (!built.ok()) {
        if (built.fault() == StoreFault::Busy)
            StoreConnection::noteBusy(file.path());
        file.operationFailed();
    }
    return built;
}

StoreResult<bool> NameIndex::build(QSqlDatabase& db, const QString& path, int records,
                                   const QDeadlineTimer& until,
                                   const std::function<bool()>& stopped)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return StoreStatus::failure(query.lastError(), path);
    QSqlError error;
    const std::optional<Progress> progress = progressOf(db, &error);
    // What is indexed and how far goes into one transaction: a program closed half way leaves
    // both as they were.
    const std::optional<qint64> next =
        progress ? indexBatches(query, *progress, records, until, stopped) : std::nullopt;
    const bool stop = next && stopped && stopped();
    bool ok = next && !stop;
    if (ok && *next > progress->done)
        ok = BoundQuery::exec(query, QStringLiteral("UPDATE [档案_姓名字进度] SET [已建至] = ?"),
                              {*next});
    if (ok && query.exec(QStringLiteral("COMMIT")))
        return *next >= progress->target;
    if (!error.isValid())
        error = query.lastError();
    // After some failures the engine has rolled back already; then this finds nothing to undo.
    query.exec(QStringLiteral("ROLLBACK"));
    if (stop)
        return false;
    return StoreStatus::failure(error, path);
}

QSqlError NameIndex::leaveToBuild(QSqlDatabase& db)
{
    QSqlQuery query(db);
    for (const char* sql :
         {"DELETE FROM [档案_姓名字]", "UPDATE [档案_姓名字进度] SET [已建至] = 0, [建至] = "
                                       "(SELECT coalesce(max(rowid), 0) FROM [档案])"}) {
        if (!query.exec(QString::fromUtf8(sql)))
            return query.lastError();
    }
    return QSqlError();
}

QStringList NameIndex::literalCharacters(const QString& nameText)
{
    // As the store receives the text: a NUL ends it, an unpaired surrogate becomes U+FFFD.
    const QString sent = QString::fromUtf8(nameText.section(QChar(0), 0, 0).toUtf8());
    QStringList characters;
    for (char32_t c : sent.toUcs4()) {
        if (c == U'%' || c == U'_')
            continue;
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        const QString character = QString::fromUcs4(&c, 1);
        if (!characters.contains(character))
            characters << character;
    }
    return characters;
}

bool NameIndex::answersExactly(const StoreConnection& file)
{
    if (answersFound().contains(file.connectionName()))
        return true;
    bool usable = false;
    DirectRows::View seen;
    const StoreStatus checked = DirectRows::read(
        file,
        QStringLiteral("SELECT (SELECT [已建至] >= [建至] FROM [档案_姓名字进度] LIMIT 1) AND "
                       "NOT EXISTS (SELECT 1 FROM [档案_姓名字] WHERE [字] = '')"),
        {}, [&usable](const DirectRow& r) { usable = r.integer(0) != 0; }, &seen);
    if (!checked.ok() || !usable)
        return false;
    if (seen.known)
        answersFound().insert(file.connectionName(), seen);
    return true;
}

bool NameIndex::answeredAt(const StoreConnection& file, const DirectRows::View& seen)
{
    const auto found = answersFound().constFind(file.connectionName());
    return seen.known && found != answersFound().cend() && *found == seen;
}

void NameIndex::forget(const QString& connectionName)
{
    answersFound().remove(connectionName);
}

std::optional<QString> NameIndex::rarestCharacter(const StoreConnection& file,
                                                  const QString& nameText)
{
    // A server answers the plain query from its own indexes; the character index lives only
    // in store files.
    if (file.isServer())
        return std::nullopt;
    const QStringList characters = literalCharacters(nameText);
    if (characters.isEmpty())
        return std::nullopt;
    if (!answersExactly(file))
        return std::nullopt;
    if (characters.size() == 1)
        return characters.first();
    // Later characters first: the surname, typed first, is usually the commonest, so the
    // rarer ones counted before it cap its count low. Each is counted only up to the fewest
    // found so far, and on a tie the later one stays.
    std::optional<QString> rarest;
    qint64 fewest = kCountCap;
    const QStringList tried = characters.mid(0, kCharactersTried);
    for (auto character = tried.crbegin(); character != tried.crend(); ++character) {
        if (rarest && fewest == 0)
            break;
        // A count found before is used again: a stale one can only choose a slower way to the
        // same rows, never other rows.
        const QString key = file.path() + QLatin1Char('\n') + *character;
        const auto known = countsFound().constFind(key);
        qint64 count = -1;
        if (known != countsFound().cend() && (known->exact || known->atLeast >= fewest)) {
            count = std::min(known->atLeast, fewest);
        } else {
            const StoreStatus counted = BoundQuery::read(
                file,
                QStringLiteral(
                    "SELECT count(*) FROM (SELECT 1 FROM [档案_姓名字] WHERE [字] = ? LIMIT ?)"),
                {*character, fewest},
                [&count](const QSqlQuery& q) { count = q.value(0).toLongLong(); });
            if (!counted.ok())
                return std::nullopt;
            if (countsFound().size() > kCountsKept)
                countsFound().clear();
            countsFound().insert(key, {count, count < fewest});
        }
        if (!rarest || count < fewest) {
            rarest = *character;
            fewest = count;
        }
    }
    return rarest;
}

} // namespace quilloa
