#include "core/store/server/ServerSchema.h"

#include "core/store/SchemaVersion.h"
#include "core/store/StoreTables.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/server/ServerGuards.h"
#include "core/store/server/ServerSearchIndex.h"

#include <QSqlError>
#include <QSqlQuery>

namespace quilloa {
namespace {

// Any number of our own, held while the tables are looked for and created.
constexpr qint64 kCreationLock = 0x5175696c6c6f61;

// Texts fold the case of Latin letters A to Z only, as the store files do: under the "C"
// collation citext lowers nothing else, whatever the database's locale, so ä never finds Ä
// and a full-width Ｂ never finds ｂ, and sorting is by the folded bytes as in the files.
const QString kTextType = QStringLiteral("citext COLLATE \"C\"");

// The constraint's name carries the limit, so a refused value is told with its column's limit.
QString text(const char* name, int limit)
{
    const QString column = QString::fromUtf8(name);
    return QStringLiteral("\"%1\" %3 CONSTRAINT \"%1_长度_%2\" CHECK (char_length(\"%1\") <= %2)")
        .arg(column)
        .arg(limit)
        .arg(kTextType);
}

QString memo(const char* name)
{
    return QStringLiteral("\"%1\" %2").arg(QString::fromUtf8(name), kTextType);
}

// Yuan with four decimals, within the range a fee has in ten-thousandths as a 64-bit integer.
QString currency(const char* name)
{
    return QStringLiteral("\"%1\" numeric(19,4) CONSTRAINT \"%1_范围\" CHECK (abs(\"%1\") <= "
                          "922337203685477.5807)")
        .arg(QString::fromUtf8(name));
}

// The row id comes last, so a statement that lists no columns still fills the program's ones.
QString table(const char* name, const QStringList& columns)
{
    return QStringLiteral("CREATE TABLE \"%1\" (%2, rowid bigserial PRIMARY KEY)")
        .arg(QString::fromUtf8(name), columns.join(QStringLiteral(", ")));
}

QString index(const char* name, const char* table, const char* columns)
{
    return QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (%3)")
        .arg(QString::fromUtf8(name), QString::fromUtf8(table), QString::fromUtf8(columns));
}

QString singleRow(const char* table)
{
    return QStringLiteral("CREATE UNIQUE INDEX \"%1_一行\" ON \"%1\" ((true))")
        .arg(QString::fromUtf8(table));
}

const storetables::Dialect kServerDialect{text, memo, currency, table};

StoreStatus runAll(const StoreConnection& server, QSqlDatabase& db, const QStringList& statements)
{
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return server.failure(query.lastError());
    }
    return StoreStatus::success();
}

// Which of the two stores' tables the database holds: none, both, or only a part.
StoreResult<int> tablesPresent(const StoreConnection& server, QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT (to_regclass('\"档案\"') IS NOT NULL)::int + (to_regclass('\"密码\"') IS NOT "
            "NULL)::int + (to_regclass('\"设置\"') IS NOT NULL)::int + (to_regclass('\"药品\"') "
            "IS NOT NULL)::int + (to_regclass('\"诊断\"') IS NOT NULL)::int + "
            "(to_regclass('\"地址\"') IS NOT NULL)::int")) ||
        !query.next())
        return server.failure(query.lastError());
    return query.value(0).toInt();
}

constexpr int kTables = 6;

StoreResult<bool> createWithin(const StoreConnection& server, QSqlDatabase& db, bool withSamples)
{
    QSqlQuery lock(db);
    if (!lock.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kCreationLock)))
        return server.failure(lock.lastError());
    const StoreResult<int> present = tablesPresent(server, db);
    if (!present.ok())
        return StoreStatus(present);
    if (present.value() == kTables) {
        const StoreStatus upgraded = SchemaVersion::upgradeServer(server, db);
        if (!upgraded.ok())
            return upgraded;
        return false;
    }
    if (present.value() != 0)
        return StoreStatus::failure(StoreFault::Damaged, server.path(),
                                    QStringLiteral("some of the tables are missing"));
    QStringList statements = ServerSchema::tableStatements();
    statements << ServerSearchIndex::statements()
               << QStringLiteral("INSERT INTO \"密码\" (\"密码\") VALUES ('')")
               << StoreSchema::settingsRow();
    if (withSamples)
        statements << StoreSchema::sampleRows();
    const StoreStatus created = runAll(server, db, statements);
    if (!created.ok())
        return created;
    return true;
}

} // namespace

// A database in another encoding than UTF-8 either refuses Chinese text or, as SQL_ASCII, counts
// its bytes as characters, so that a three-character name would pass for nine.
StoreStatus ServerSchema::checkEncoding(const StoreConnection& server, QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT pg_encoding_to_char(encoding) FROM pg_database "
                                   "WHERE datname = current_database()")) ||
        !query.next())
        return server.failure(query.lastError());
    if (query.value(0).toString() == QLatin1String("UTF8"))
        return StoreStatus::success();
    return StoreStatus::failure(
        QStringLiteral(
            "%1 的数据库不是 UTF8 编码，存不准中文。请让管理员用 UTF8 编码新建一个空数据库"
            "（例如 createdb -E UTF8 -T template0 数据库名），再让程序连接它。")
            .arg(server.path()));
}

QStringList ServerSchema::tableStatements()
{
    QStringList statements{
        QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"),
    };
    statements << createStatements(storetables::kArchiveTables, kServerDialect)
               << createStatements(storetables::kSettingsTables, kServerDialect);
    statements << QStringList{
        singleRow("密码"),
        singleRow("设置"),
        index("档案_名称", "档案", "\"名称\""),
        index("档案_日期", "档案", "\"日期\""),
        index("档案_姓名", "档案", "\"姓名\", \"日期\", \"名称\""),
        index("药品_拼音", "药品", "\"拼音\""),
        index("诊断_拼音", "诊断", "\"拼音\""),
        index("地址_拼音", "地址", "\"拼音\""),
    };
    return statements << ServerGuards::statements() << SchemaVersion::serverTableStatements();
}

StoreResult<bool> ServerSchema::ensure(const StoreConnection& server, bool withSamples)
{
    StoreResult<QSqlDatabase> opened = server.database();
    if (!opened.ok())
        return StoreStatus(opened);
    QSqlDatabase db = opened.takeValue();
    const StoreStatus encoding = checkEncoding(server, db);
    if (!encoding.ok())
        return encoding;
    if (!db.transaction())
        return server.failure(db.lastError());
    const StoreResult<bool> created = createWithin(server, db, withSamples);
    if (!created.ok()) {
        db.rollback();
        return created;
    }
    if (!db.commit())
        return server.failure(db.lastError());
    return created;
}

} // namespace quilloa
