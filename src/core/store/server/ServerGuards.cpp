#include "core/store/server/ServerGuards.h"

#include "core/store/sql/BoundQuery.h"

#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace quilloa {
namespace {

// The fixed search path keeps a function that runs with its owner's rights from finding
// anything another role made. The table is one of four named here, never a name the caller
// makes up.
const char* const kRemove =
    "CREATE OR REPLACE FUNCTION quilloa_remove(list text, row_id bigint, row_key citext) "
    "RETURNS integer LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS "
    "$body$\nDECLARE\n  gone integer;\nBEGIN\n"
    "  IF list = '档案' THEN\n"
    "    DELETE FROM \"档案\" WHERE rowid = row_id AND \"名称\" = row_key;\n"
    "  ELSIF list IN ('药品', '诊断', '地址') THEN\n"
    "    EXECUTE format('DELETE FROM %I WHERE rowid = $1', list) USING row_id;\n"
    "  ELSE\n"
    "    RAISE EXCEPTION 'no list %', list USING ERRCODE = '42P01';\n"
    "  END IF;\n"
    "  GET DIAGNOSTICS gone = ROW_COUNT;\n  RETURN gone;\nEND\n$body$";

// A list's entries are edited one at a time; only the tables' owner (an upgrade, an
// administrator) changes many in one statement.
const char* const kOneEntry =
    "CREATE OR REPLACE FUNCTION quilloa_one_entry() RETURNS trigger LANGUAGE plpgsql "
    "SET search_path = public, pg_temp AS $body$\nBEGIN\n"
    "  IF NOT pg_has_role((SELECT relowner FROM pg_class WHERE oid = TG_RELID), 'MEMBER') AND "
    "(SELECT count(*) FROM (SELECT 1 FROM changed LIMIT 2) AS two) > 1 THEN\n"
    "    RAISE EXCEPTION 'one entry at a time' USING ERRCODE = '42501';\n"
    "  END IF;\n  RETURN NULL;\nEND\n$body$";

QString oneEntryTrigger(const char* table)
{
    return QStringLiteral("CREATE TRIGGER \"%1_一次一条\" AFTER UPDATE ON \"%1\" REFERENCING NEW "
                          "TABLE AS changed FOR EACH STATEMENT EXECUTE FUNCTION "
                          "quilloa_one_entry()")
        .arg(QString::fromUtf8(table));
}

} // namespace

QStringList ServerGuards::statements()
{
    QStringList statements{
        QString::fromUtf8(kRemove),
        // Functions may be run by anyone unless told otherwise; the owner grants it to rooms.
        QStringLiteral("REVOKE ALL ON FUNCTION quilloa_remove(text, bigint, citext) FROM PUBLIC"),
        QString::fromUtf8(kOneEntry),
    };
    for (const char* table : {"药品", "诊断", "地址"}) {
        statements << QStringLiteral("DROP TRIGGER IF EXISTS \"%1_一次一条\" ON \"%1\"")
                          .arg(QString::fromUtf8(table))
                   << oneEntryTrigger(table);
    }
    return statements;
}

QSqlError ServerGuards::make(QSqlDatabase& db)
{
    QSqlQuery query(db);
    for (const QString& statement : statements()) {
        if (!query.exec(statement))
            return query.lastError();
    }
    return QSqlError();
}

StoreStatus ServerGuards::remove(const StoreConnection& server, const QString& table, qint64 rowId,
                                 const QString& key)
{
    std::optional<int> gone;
    const StoreStatus ran = BoundQuery::read(
        server,
        QStringLiteral(
            "SELECT quilloa_remove(CAST(? AS text), CAST(? AS bigint), CAST(? AS citext))"),
        {table, rowId, key}, [&gone](const QSqlQuery& q) { gone = q.value(0).toInt(); });
    if (!ran.ok())
        return ran;
    if (gone.value_or(0) < 1)
        return StoreStatus::failure(StoreFault::NoRow, server.path());
    return StoreStatus::success();
}

} // namespace quilloa
