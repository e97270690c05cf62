#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>

namespace quilloa {

// Runs one statement on a store with its values bound, never pasted into the text. Every store
// statement goes through here, so the rule that a text is never stored as NULL lives here too.
// Each statement stays compiled on the connection for the next call with the same text and is
// reset before the call returns, so no read stays open between operations.
class BoundQuery
{
public:
    // For statements whose rows, if any, are not wanted.
    static StoreStatus run(const StoreConnection& file, const QString& sql,
                           const QVariantList& values = {});
    // For reads whose rows are all taken inside the operation: hands each row to `row`.
    using RowReader = std::function<void(const QSqlQuery&)>;
    static StoreStatus read(const StoreConnection& file, const QString& sql,
                            const QVariantList& values, const RowReader& row);
    // For statements that change rows: fails when no row was changed.
    static StoreStatus change(const StoreConnection& file, const QString& sql,
                              const QVariantList& values = {});
    // For a statement that adds one row: the row id it was given.
    static StoreResult<qint64> insert(const StoreConnection& file, const QString& sql,
                                      const QVariantList& values);

    // A value as every statement binds it, the direct reads included.
    static QVariant bindable(const QVariant& value);

    // How values are bound: as the program's own values (an empty text stays a text, never
    // NULL), or exactly as a store held them, NULL included, for copies between stores and for
    // comparing a stored row with the rows of another table.
    enum class Binding
    {
        Typed,
        AsStored,
    };
    static void bind(QSqlQuery& query, const QVariantList& values,
                     Binding binding = Binding::Typed);
    // For a connection no store holds open (a store being opened, checked or copied): compiles
    // `sql` on `query` for this call alone, binds `values` and runs it. Rows, if any, are then
    // read from `query`; on false, query.lastError() tells why.
    static bool exec(QSqlQuery& query, const QString& sql, const QVariantList& values,
                     Binding binding = Binding::Typed);

private:
    // What an operation does with its executed statement before the statement is reset.
    using Finish = std::function<StoreStatus(QSqlQuery&)>;
    static StoreStatus execute(const StoreConnection& file, const QString& sql,
                               const QVariantList& values, const Finish& finish);
};

} // namespace quilloa
