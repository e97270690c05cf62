#pragma once

#include "core/store/StoreFile.h"
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
    static StoreStatus run(const StoreFile& file, const QString& sql,
                           const QVariantList& values = {});
    // For reads whose rows are all taken inside the operation: hands each row to `row`.
    using RowReader = std::function<void(const QSqlQuery&)>;
    static StoreStatus read(const StoreFile& file, const QString& sql, const QVariantList& values,
                            const RowReader& row);
    // For statements that change rows: fails when no row was changed.
    static StoreStatus change(const StoreFile& file, const QString& sql,
                              const QVariantList& values = {});
    // For a statement that adds one row: the row id it was given.
    static StoreResult<qint64> insert(const StoreFile& file, const QString& sql,
                                      const QVariantList& values);

    // A value as every statement binds it, the direct reads included.
    static QVariant bindable(const QVariant& value);

private:
    // What an operation does with its executed statement before the statement is reset.
    using Finish = std::function<StoreStatus(QSqlQuery&)>;
    static StoreStatus execute(const StoreFile& file, const QString& sql,
                               const QVariantList& values, const Finish& finish);
};

} // namespace quilloa
