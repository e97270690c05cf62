#include "RawSqlite.h"

#include <QUrl>

#include <sqlite3.h>

namespace quilloa::bench {

RawSqlite::RawSqlite(const QString& path)
{
    // What the store's connection is opened with: a URI that never creates the file, the
    // driver's flags (no connection mutex, private cache), its busy timeout and its settings.
    const QByteArray uri =
        (QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"))
            .toUtf8();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI |
                      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.constData(), &db, flags, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 1000);
    sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
}

RawSqlite::~RawSqlite()
{
    for (const auto& [sql, statement] : m_kept)
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

sqlite3_stmt* RawSqlite::prepare(const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

sqlite3_stmt* RawSqlite::statementFor(const char* sql, const std::vector<Value>& values)
{
    if (!m_db)
        return nullptr;
    sqlite3_stmt* statement = nullptr;
    if (m_keep) {
        sqlite3_stmt*& kept = m_kept[sql];
        if (!kept)
            kept = prepare(sql);
        statement = kept;
    } else {
        statement = prepare(sql);
    }
    if (!statement)
        return nullptr;
    int index = 1;
    for (const Value& value : values) {
        if (const auto* textValue = std::get_if<std::string>(&value))
            sqlite3_bind_text(statement, index, textValue->data(), int(textValue->size()),
                              SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(statement, index, std::get<std::int64_t>(value));
        ++index;
    }
    return statement;
}

void RawSqlite::release(sqlite3_stmt* statement)
{
    if (m_keep) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    } else {
        sqlite3_finalize(statement);
    }
}

std::int64_t RawSqlite::run(const char* sql, const std::vector<Value>& values)
{
    sqlite3_stmt* statement = statementFor(sql, values);
    if (!statement)
        return -1;
    std::int64_t rows = 0;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        ++rows;
        const int columns = sqlite3_column_count(statement);
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(statement, c) == SQLITE_INTEGER) {
                m_checksum += std::uint64_t(sqlite3_column_int64(statement, c));
            } else {
                // Copied out, as any reader must before the next step.
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                const std::string value(text ? text : "",
                                        size_t(sqlite3_column_bytes(statement, c)));
                m_checksum += value.size();
            }
        }
    }
    if (step != SQLITE_DONE) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        rows = -1;
    }
    release(statement);
    return rows;
}

std::string RawSqlite::text(const char* sql, const std::vector<Value>& values)
{
    sqlite3_stmt* statement = statementFor(sql, values);
    std::string result;
    if (statement && sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* value = sqlite3_column_text(statement, 0);
        if (value)
            result.assign(reinterpret_cast<const char*>(value),
                          size_t(sqlite3_column_bytes(statement, 0)));
    }
    if (statement)
        release(statement);
    return result;
}

} // namespace quilloa::bench
