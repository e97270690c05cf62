#pragma once

#include "BenchDataSet.h"
#include "BenchInputs.h"
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

private:
    void row(const QString& operation, const QString& size, const std::function<void()>& ours,
             const std::function<void()>& raw, const Goal& goal);
    void saving(const BenchDataSet& data, const QString& size);

    ResultTable& m_table;
};

} // namespace quilloa::bench
