#include "support/StoreRows.h"

#include "support/PostgresServer.h"

#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

namespace quilloa::test {
namespace {

// Written out here rather than taken from the program, so a column the program forgot to copy
// shows up as a difference.
const QHash<QString, QStringList>& columnsOf()
{
    static const QHash<QString, QStringList> columns{
        {QStringLiteral("档案"),
         {"名称", "姓名", "性别", "年龄", "日期", "诊断", "地址", "处方", "医生", "配药", "收费"}},
        {QStringLiteral("密码"), {"密码"}},
        {QStringLiteral("药品"), {"拼音", "名称"}},
        {QStringLiteral("诊断"), {"名称", "拼音"}},
        {QStringLiteral("地址"), {"名称", "拼音"}},
        {QStringLiteral("设置"),
         {"医生", "上边距", "左边距", "上边距1", "左边距1", "配药", "名称"}},
    };
    return columns;
}

QStringList rowsOn(QSqlDatabase& db, const QString& table, bool server)
{
    QStringList columns{QStringLiteral("rowid")};
    for (const QString& column : columnsOf().value(table)) {
        if (server && column == u"收费")
            columns << QStringLiteral("CAST(\"收费\" * 10000 AS bigint)");
        else
            columns << QLatin1Char('"') + column + QLatin1Char('"');
    }
    QSqlQuery query(db);
    QStringList rows;
    if (!query.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid")
                        .arg(columns.join(QStringLiteral(", ")), table))) {
        rows << QStringLiteral("query failed: ") + query.lastError().text();
        return rows;
    }
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < columns.size(); ++i)
            values << (query.isNull(i) ? QStringLiteral("∅") : query.value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

QStringList storeTables()
{
    return {QStringLiteral("档案"), QStringLiteral("密码"), QStringLiteral("药品"),
            QStringLiteral("诊断"), QStringLiteral("地址"), QStringLiteral("设置")};
}

QStringList fileRows(const QString& path, const QString& table)
{
    const QString name = QStringLiteral("rows-") + QUuid::createUuid().toString();
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        rows = db.open() ? rowsOn(db, table, false) : QStringList{QStringLiteral("no file")};
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QStringList serverRows(const PostgresServer& server, const QString& database, const QString& table)
{
    const QString name = QStringLiteral("rows-") + QUuid::createUuid().toString();
    QStringList rows;
    {
        QSqlDatabase db = server.addConnection(name, database);
        rows = db.open() ? rowsOn(db, table, true) : QStringList{QStringLiteral("no server")};
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QStringList fileNames(const QString& archive)
{
    QStringList names;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(archive).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT [姓名] FROM [档案] ORDER BY rowid", -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW)
        names << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return names;
}

QString fileIntegrity(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db);
        return QStringLiteral("cannot open");
    }
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    QString result = QStringLiteral("no answer");
    if (statement && sqlite3_step(statement) == SQLITE_ROW)
        result =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return result;
}

} // namespace quilloa::test
