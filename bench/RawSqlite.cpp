#include "RawSqlite.h"

#include <sqlite3.h>

namespace quilloa::bench {

RawSqlite::RawSqlite(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        m_error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return;
    }
    m_db = db;
    sqlite3_busy_timeout(m_db, 1500);
    sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
}

RawSqlite::~RawSqlite()
{
    sqlite3_close(m_db);
}

sqlite3_stmt* RawSqlite::prepare(const char* sql, std::initializer_list<Value> values)
{
    if (!m_db)
        return nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(statement);
        return nullptr;
    }
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

std::int64_t RawSqlite::run(const char* sql, std::initializer_list<Value> values)
{
    sqlite3_stmt* statement = prepare(sql, values);
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
    sqlite3_finalize(statement);
    return rows;
}

std::string RawSqlite::text(const char* sql, std::initializer_list<Value> values)
{
    sqlite3_stmt* statement = prepare(sql, values);
    std::string result;
    if (statement && sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* value = sqlite3_column_text(statement, 0);
        if (value)
            result.assign(reinterpret_cast<const char*>(value),
                          size_t(sqlite3_column_bytes(statement, 0)));
    }
    sqlite3_finalize(statement);
    return result;
}

} // namespace quilloa::bench
