#include "core/store/StoreTables.h"

namespace quilloa::storetables {
namespace {

QString columnText(const Column& column, const Dialect& dialect)
{
    switch (column.kind) {
    case ColumnKind::Text:
        return dialect.text(column.name, column.limit);
    case ColumnKind::Memo:
        return dialect.memo(column.name);
    case ColumnKind::Fee:
        return dialect.fee(column.name);
    }
    return {};
}

} // namespace

QStringList createStatements(std::span<const Table> tables, const Dialect& dialect)
{
    QStringList statements;
    for (const Table& table : tables) {
        QStringList columns;
        for (const Column& column : table.columns)
            columns << columnText(column, dialect);
        statements << dialect.table(table.name, columns);
    }
    return statements;
}

} // namespace quilloa::storetables
