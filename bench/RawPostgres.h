#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>

struct pg_conn;

namespace quilloa::bench {

// The same server database reached straight through libpq, to time a statement with nothing of
// ours in between: PQexecParams with text parameters, every value of every row copied out.
class RawPostgres
{
public:
    explicit RawPostgres(const QString& connectionText);
    ~RawPostgres();
    RawPostgres(const RawPostgres&) = delete;
    RawPostgres& operator=(const RawPostgres&) = delete;

    bool ok() const { return m_db != nullptr; }
    QString error() const { return m_error; }

    // Runs `sql` ($1, $2 … placeholders) with `values` (nullptr for NULL) and reads every row.
    // Returns the number of rows (or of rows changed), or -1 on failure.
    std::int64_t run(const char* sql, std::initializer_list<const char*> values = {});

private:
    pg_conn* m_db = nullptr;
    QString m_error;
    std::uint64_t m_checksum = 0; // keeps the value reads from being optimised away
};

} // namespace quilloa::bench
