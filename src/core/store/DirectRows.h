#pragma once

#include "core/store/StoreFile.h"
#include "core/store/StoreResult.h"

#include <QString>
#include <QVariantList>

#include <functional>

struct sqlite3_stmt;

namespace quilloa {

// One row of a direct read, valid only inside the callback that receives it.
class DirectRow
{
public:
    explicit DirectRow(sqlite3_stmt* statement) : m_statement(statement) {}

    bool isNull(int column) const;
    qint64 integer(int column) const;
    // NULL reads as an empty text.
    QString text(int column) const;

private:
    sqlite3_stmt* m_statement;
};

// Reads every row of one statement on the store's held connection straight through the SQLite
// library. Lists of thousands of rows spend their time on the rows, not on a variant per value,
// so a whole-list read costs little more than the query itself. Values are bound, never pasted.
class DirectRows
{
public:
    using RowReader = std::function<void(const DirectRow&)>;
    static StoreStatus read(const StoreFile& file, const QString& sql, const QVariantList& values,
                            const RowReader& row);
};

} // namespace quilloa
