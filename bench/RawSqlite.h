#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace quilloa::bench {

// The same store file opened straight through the SQLite C library the way the store opens it
// (the same open flags, busy timeout and settings), to time a query with nothing of ours in
// between.
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

    // Whether run() keeps each statement compiled between calls (reset and bound afresh), as
    // the store does with its kept statements, instead of preparing and finalizing each time.
    void keepStatements(bool keep) { m_keep = keep; }

    // Prepares `sql` (or takes the kept statement), binds `values`, walks every row reading
    // every column. Returns the number of rows, or -1 on failure.
    std::int64_t run(const char* sql, const std::vector<Value>& values = {});
    // The first column of the first row as text; empty when there is none.
    std::string text(const char* sql, const std::vector<Value>& values = {});

private:
    sqlite3_stmt* prepare(const char* sql);
    sqlite3_stmt* statementFor(const char* sql, const std::vector<Value>& values);
    void release(sqlite3_stmt* statement);

    sqlite3* m_db = nullptr;
    QString m_error;
    bool m_keep = false;
    std::map<std::string, sqlite3_stmt*> m_kept;
    std::uint64_t m_checksum = 0; // keeps the column reads from being optimised away
};

} // namespace quilloa::bench
