#pragma once

#include "BenchDataSet.h"
#include "BenchInputs.h"
#include "RawSqlite.h"
#include "ResultTable.h"

#include <functional>

namespace quilloa::bench {

// Times the store calls a window makes while the doctor waits, and the same SQL on plain
// SQLite beside them.
class StoreBench
{
public:
    explicit StoreBench(ResultTable& table) : m_table(table) {}

    void referenceLists(const BenchDataSet& data, const BenchInputs& inputs);
    void archive(const BenchDataSet& data, const BenchInputs& inputs);
    void indexFill(const BenchDataSet& data);

private:
    // `rawRun` runs SQL on `raw`. With `sameSql` it runs the very SQL of `ours`: it is timed
    // both compiling its statement each time and keeping it, and the row holds the ratio goal
    // against the kept one.
    void row(const QString& operation, const QString& size, const std::function<void()>& ours,
             RawSqlite& raw, const std::function<void()>& rawRun, Goal goal, bool sameSql = true);
    void nameSearch(const BenchDataSet& data, const QString& size, RawSqlite& raw);
    void searches(const BenchDataSet& data, const QString& size, RawSqlite& raw);
    void saving(const BenchDataSet& data, const QString& size);

    ResultTable& m_table;
};

} // namespace quilloa::bench
