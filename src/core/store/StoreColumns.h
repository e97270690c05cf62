#pragma once

#include "core/store/StoreResult.h"
#include "core/store/file/StoreCopy.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace quilloa {

// The program's columns of one table, in their order, as a store file declares them; the fee is
// the one whole-number column. Copies between a store file and a server list their columns from
// here, so the two sides cannot drift from the store file's own tables.
struct TableColumns
{
    QString table;
    QStringList columns;
    int feeColumn = -1; // index into columns, or -1

    // The column names in double quotes, which both engines read as names: "a", "b".
    QString quotedList() const;
};

class StoreColumns
{
public:
    // The tables of `kind` in the store file open on `file`, each with its columns.
    static StoreResult<QList<TableColumns>> of(QSqlDatabase& file, StoreKind kind,
                                               const QString& path);

    static QString quoted(const QString& name);
};

} // namespace quilloa
