#include "core/store/sql/RowPump.h"

#include "core/store/sql/BoundQuery.h"

#include <QStringList>
#include <QVariant>

namespace quilloa {

RowPump::RowPump(QSqlDatabase target, QString insertHead, QString rowValues, int columns)
    : m_target(std::move(target)), m_insertHead(std::move(insertHead)),
      m_rowValues(std::move(rowValues)), m_columns(columns)
{
}

bool RowPump::prepare(QSqlQuery& query, int rows) const
{
    QStringList values;
    values.reserve(rows);
    for (int row = 0; row < rows; ++row)
        values << m_rowValues;
    return query.prepare(m_insertHead + values.join(QStringLiteral(", ")));
}

bool RowPump::flush(QSqlQuery& batch, int rows, const QVariantList& values, Result& result)
{
    // A copy keeps what the source holds: a NULL stays NULL, an empty text stays empty.
    BoundQuery::bind(batch, values, BoundQuery::Binding::AsStored);
    if (batch.exec()) {
        result.rows += rows;
        return true;
    }
    result.ok = false;
    result.targetFailed = true;
    result.error = batch.lastError();
    return false;
}

RowPump::Result RowPump::pump(QSqlQuery& source)
{
    Result result;
    QSqlQuery full(m_target);
    if (!prepare(full, kBatchRows))
        return {0, false, true, full.lastError()};
    QVariantList values;
    values.reserve(kBatchRows * m_columns);
    int rows = 0;
    while (source.next()) {
        for (int column = 0; column < m_columns; ++column)
            values << source.value(column);
        if (++rows < kBatchRows)
            continue;
        if (!flush(full, rows, values, result))
            return result;
        values.clear();
        rows = 0;
    }
    // next() ends both at the last row and on a failed read; only the error tells them apart.
    if (source.lastError().isValid())
        return {result.rows, false, false, source.lastError()};
    if (rows == 0)
        return result;
    QSqlQuery rest(m_target);
    if (!prepare(rest, rows))
        return {result.rows, false, true, rest.lastError()};
    flush(rest, rows, values, result);
    return result;
}

} // namespace quilloa
