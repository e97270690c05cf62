#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace quilloa {

// Moves the rows a query reads into a table of another connection, in the order they are read,
// a batch of rows per statement: between a store file and a server, one statement per row would
// spend the time on round trips instead of on the rows. Every value is bound.
class RowPump
{
public:
    struct Result
    {
        qint64 rows = 0;
        bool ok = true;
        bool targetFailed = false; // the writing side failed (else the reading side did)
        QSqlError error;
    };

    // `insertHead` is "INSERT INTO t (a, b, c) VALUES ", `rowValues` the placeholders of one
    // row, e.g. "(?, ?, ?)", with one "?" per column `source` reads.
    RowPump(QSqlDatabase target, QString insertHead, QString rowValues, int columns);

    // Reads `source` (already run, forward only) to its end.
    Result pump(QSqlQuery& source);

    static constexpr int kBatchRows = 200;

private:
    bool prepare(QSqlQuery& query, int rows) const;
    bool flush(QSqlQuery& batch, int rows, const QVariantList& values, Result& result);

    QSqlDatabase m_target;
    QString m_insertHead;
    QString m_rowValues;
    int m_columns;
};

} // namespace quilloa
