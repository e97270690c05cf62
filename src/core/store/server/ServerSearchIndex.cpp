#include "core/store/server/ServerSearchIndex.h"

#include <QSqlQuery>
#include <QVariant>

namespace quilloa {
namespace {

// Sixteen blocks of rows take a fraction of a second on a loaded server.
constexpr qint64 kBlocksPerStatement = 16;

// The characters of a row's name with the block and bit of its row; %1 is "OLD" or "NEW".
// Under the "C" collation lower() folds A to Z only, as the searches' LIKE does.
const char* const kCharacters =
    "SELECT lower(substr(CAST(%1.\"姓名\" AS text) COLLATE \"C\", i, 1)) AS \"字\", "
    "%1.rowid >> %2 AS \"块\", CAST(%1.rowid & %3 AS integer) AS \"位置\" "
    "FROM generate_series(1, char_length(%1.\"姓名\")) AS i WHERE %1.\"日期\" IS NOT NULL";

QString characters(const char* row)
{
    return QString::fromUtf8(kCharacters)
        .arg(QString::fromLatin1(row))
        .arg(ServerSearchIndex::kBlockShift)
        .arg(ServerSearchIndex::kBlockRows - 1);
}

QString emptyBlock()
{
    return QStringLiteral("CAST(B'0' AS bit(%1))").arg(ServerSearchIndex::kBlockRows);
}

QString table()
{
    return QStringLiteral("CREATE TABLE \"档案_姓名字\" (\"字\" text COLLATE \"C\" NOT NULL, "
                          "\"块\" bigint NOT NULL, \"数\" integer NOT NULL, \"位\" bit(%1) NOT "
                          "NULL, PRIMARY KEY (\"字\", \"块\"))")
        .arg(ServerSearchIndex::kBlockRows);
}

// The rows from block `first` up to before block `end`.
QString fill(qint64 first, qint64 end)
{
    return QStringLiteral("INSERT INTO \"档案_姓名字\" SELECT \"字\", \"块\", count(*), "
                          "bit_or(set_bit(%1, \"位置\", 1)) FROM (SELECT DISTINCT c.* FROM "
                          "\"档案\" AS a, LATERAL (%2) AS c WHERE a.rowid >= %3 AND a.rowid < %4) "
                          "AS x GROUP BY \"字\", \"块\"")
        .arg(emptyBlock(), characters("a"))
        .arg(first * ServerSearchIndex::kBlockRows)
        .arg(end * ServerSearchIndex::kBlockRows);
}

// Every change of a row, old and new characters together, is applied block by block in one
// order, so that two rooms saving at once wait for each other instead of deadlocking. A bit
// already as wanted leaves the count as it is. The fixed search path keeps a function that
// runs with its owner's rights from finding anything another role made.
QString function()
{
    return QStringLiteral(
               "CREATE FUNCTION \"档案_姓名字_记\"() RETURNS trigger LANGUAGE plpgsql "
               "SECURITY DEFINER SET search_path = public, pg_temp AS $body$\n"
               "DECLARE\n  change record;\nBEGIN\n"
               "  IF TG_OP = 'TRUNCATE' THEN\n    DELETE FROM \"档案_姓名字\";\n"
               "    RETURN NULL;\n  END IF;\n"
               "  FOR change IN SELECT x.\"字\", x.\"块\", max(x.\"去\") AS \"去\", "
               "max(x.\"来\") AS \"来\" FROM (\n"
               "      SELECT o.\"字\", o.\"块\", o.\"位置\" AS \"去\", NULL::integer AS \"来\" "
               "FROM (%1) AS o WHERE TG_OP <> 'INSERT'\n"
               "      UNION ALL SELECT n.\"字\", n.\"块\", NULL, n.\"位置\" FROM (%2) AS n "
               "WHERE TG_OP <> 'DELETE') AS x\n"
               "    GROUP BY x.\"字\", x.\"块\" ORDER BY x.\"字\", x.\"块\"\n"
               "  LOOP\n"
               "    CONTINUE WHEN change.\"去\" = change.\"来\";\n"
               "    IF change.\"去\" IS NOT NULL THEN\n"
               "      UPDATE \"档案_姓名字\" SET \"数\" = \"数\" - get_bit(\"位\", change.\"去\"), "
               "\"位\" = set_bit(\"位\", change.\"去\", 0) WHERE \"字\" = change.\"字\" AND "
               "\"块\" = change.\"块\";\n"
               "    END IF;\n"
               "    IF change.\"来\" IS NULL THEN\n"
               "      DELETE FROM \"档案_姓名字\" WHERE \"字\" = change.\"字\" AND \"块\" = "
               "change.\"块\" AND \"数\" <= 0;\n"
               "    ELSE\n"
               "      INSERT INTO \"档案_姓名字\" AS k VALUES (change.\"字\", change.\"块\", 1, "
               "set_bit(%3, change.\"来\", 1)) ON CONFLICT (\"字\", \"块\") DO UPDATE SET "
               "\"数\" = k.\"数\" + 1 - get_bit(k.\"位\", change.\"来\"), \"位\" = "
               "set_bit(k.\"位\", change.\"来\", 1);\n"
               "    END IF;\n"
               "  END LOOP;\n"
               "  RETURN NULL;\nEND\n$body$")
        .arg(characters("OLD"), characters("NEW"), emptyBlock());
}

} // namespace

QString ServerSearchIndex::foldedDate()
{
    return QStringLiteral("lower(CAST(\"日期\" AS text) COLLATE \"C\")");
}

QString ServerSearchIndex::foldedPattern()
{
    return QStringLiteral("lower(CAST(? AS text) COLLATE \"C\")");
}

QStringList ServerSearchIndex::statements()
{
    return {
        // Made afresh: what an earlier attempt left is dropped, without a notice for each.
        QStringLiteral("SET LOCAL client_min_messages = warning"),
        QStringLiteral("DROP TRIGGER IF EXISTS \"档案_姓名字_记\" ON \"档案\""),
        QStringLiteral("DROP TRIGGER IF EXISTS \"档案_姓名字_清\" ON \"档案\""),
        QStringLiteral("DROP FUNCTION IF EXISTS \"档案_姓名字_记\"()"),
        QStringLiteral("DROP TABLE IF EXISTS \"档案_姓名字\""),
        QStringLiteral("DROP INDEX IF EXISTS \"档案_日期文字\""),
        table(),
        function(),
        // Only what the index holds: the name, the date and the row id.
        QStringLiteral("CREATE TRIGGER \"档案_姓名字_记\" AFTER INSERT OR DELETE OR UPDATE OF "
                       "\"姓名\", \"日期\", rowid ON \"档案\" FOR EACH ROW EXECUTE FUNCTION "
                       "\"档案_姓名字_记\"()"),
        QStringLiteral("CREATE TRIGGER \"档案_姓名字_清\" AFTER TRUNCATE ON \"档案\" FOR EACH "
                       "STATEMENT EXECUTE FUNCTION \"档案_姓名字_记\"()"),
        QStringLiteral("CREATE INDEX \"档案_日期文字\" ON \"档案\" (%1 text_pattern_ops)")
            .arg(foldedDate()),
        // Whoever may read the archive may read its index.
        QStringLiteral(
            "DO $grant$ DECLARE reader text; BEGIN FOR reader IN SELECT DISTINCT CASE WHEN "
            "a.grantee = 0 THEN 'PUBLIC' ELSE quote_ident(pg_get_userbyid(a.grantee)) END FROM "
            "pg_class AS c, aclexplode(c.relacl) AS a WHERE c.oid = to_regclass('\"档案\"') AND "
            "a.privilege_type = 'SELECT' AND a.grantee <> c.relowner LOOP EXECUTE 'GRANT SELECT "
            "ON \"档案_姓名字\" TO ' || reader; END LOOP; END $grant$"),
    };
}

QSqlError ServerSearchIndex::make(QSqlDatabase& db)
{
    QSqlQuery query(db);
    for (const QString& statement : statements()) {
        if (!query.exec(statement))
            return query.lastError();
    }
    if (!query.exec(QStringLiteral("SELECT coalesce(min(rowid), 0) >> %1, coalesce(max(rowid), 0) "
                                   ">> %1 FROM \"档案\"")
                        .arg(kBlockShift)) ||
        !query.next())
        return query.lastError();
    const qint64 first = query.value(0).toLongLong();
    const qint64 last = query.value(1).toLongLong();
    query.finish();
    for (qint64 block = first; block <= last; block += kBlocksPerStatement) {
        if (!query.exec(fill(block, block + kBlocksPerStatement)))
            return query.lastError();
    }
    return QSqlError();
}

} // namespace quilloa
