#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

namespace quilloa::bench {

// The same store file opened straight through the SQLite C library, with the store's own
// settings, to time a query with nothing of ours in between.
class RawSqlite
{
public:
    using Value = std::variant<std::string, std::int64_t>;

    explicit RawSqlite(const QString& path);
    ~RawSqlite();
    RawSqlite(const RawSqlite&) = delete;
    RawSqlite& operator=(const RawSqlite&) = delete;

    bool ok() const { return m_db != nullptr; }
    QString error() const { return m_error; }

    // Prepares `sql`, binds `values`, walks every row reading every column, finalizes. Returns
    // the number of rows, or -1 on failure.
    std::int64_t run(const char* sql, std::initializer_list<Value> values = {});
    // The first column of the first row as text; empty when there is none.
    std::string text(const char* sql, std::initializer_list<Value> values = {});

private:
    sqlite3_stmt* prepare(const char* sql, std::initializer_list<Value> values);

    sqlite3* m_db = nullptr;
    QString m_error;
    std::uint64_t m_checksum = 0; // keeps the column reads from being optimised away
};

} // namespace quilloa::bench
