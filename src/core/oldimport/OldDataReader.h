#pragma once

#include "core/oldimport/JetFile.h"
#include "core/oldimport/OldData.h"
#include "core/store/StoreTables.h"

#include <functional>

namespace quilloa {

// Reads the older program's stores with the tables and columns this program keeps too. Every
// value is checked as it is read: one that cannot be read whole, or that is longer than the
// program's column allows, stops the read with a message naming the table, the row's key and
// what to do.
class OldDataReader
{
public:
    explicit OldDataReader(JetFileOpener opener);

    using Progress = std::function<void(qint64 recordsRead)>;
    [[nodiscard]] JetStatus read(const OldFolder& folder, OldData& data,
                                 const Progress& progress = {}) const;

    // The records of 档案 once more, in the store's order, values in the stored column order.
    using RecordReader = std::function<void(const QList<JetValue>& record)>;
    [[nodiscard]] JetStatus readRecords(const OldFolder& folder, const RecordReader& reader) const;

    static QStringList columnsOf(const storetables::Table& table);

private:
    using RowReader = std::function<void(const QList<JetValue>& row)>;
    JetStatus readTable(JetFile& file, const QString& path, const storetables::Table& table,
                        const RowReader& reader) const;
    JetStatus readArchive(const QString& path, OldData& data, const Progress& progress) const;
    JetStatus readSettings(const QString& path, OldData& data) const;

    JetFileOpener m_opener;
};

} // namespace quilloa
