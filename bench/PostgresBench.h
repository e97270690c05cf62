#pragma once

#include "BenchDataSet.h"
#include "BenchInputs.h"
#include "ResultTable.h"

#include <functional>

namespace quilloa::bench {

class RawPostgres;

// The doctor's waiting moments with the stores on a PostgreSQL server: a server of the
// benchmark's own (the tests' harness), each generated folder (200,000 and 1,000,000 records)
// copied into it with the program's own copy command, and each store call beside the same SQL
// straight through libpq. Without the server programs the rows are listed as skipped, with the
// reason.
class PostgresBench
{
public:
    explicit PostgresBench(ResultTable& table) : m_table(table) {}

    void run(const BenchDataSet& data, const BenchInputs& inputs);

private:
    void skipAll(const QString& size, const QString& reason);
    void row(const QString& operation, const QString& size, const std::function<void()>& ours,
             const std::function<void()>& raw, const Goal& goal);
    void backup(const StoreConnection& server, const QString& size, int records);
    void lookups(const StoreConnection& server, RawPostgres& raw, const BenchInputs& inputs);
    void searches(const StoreConnection& server, RawPostgres& raw, const QString& size,
                  bool largest);
    void saving(const StoreConnection& server, RawPostgres& raw, const QString& size, int records);

    ResultTable& m_table;
};

} // namespace quilloa::bench
