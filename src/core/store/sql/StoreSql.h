#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <optional>

namespace quilloa {

// The few pieces of statement text in which the two engines differ, so that every statement is
// written once, in the store's folder, and means the same on both.
class StoreSql
{
public:
    // "LIKE ?" for a user's pattern: "%" and "_" are wildcards, every other character, the
    // backslash too, stands for itself.
    static QString like(const StoreConnection& file);
    // The value to bind to "LIMIT ?"; a negative limit means none.
    static QVariant limit(const StoreConnection& file, int limit);
    // The fee column read as whole ten-thousandths of a yuan (see Money).
    static QString fee(const StoreConnection& file);
    // The placeholder that writes a fee bound as ten-thousandths of a yuan.
    static QString feeParameter(const StoreConnection& file);
    // Appended to an INSERT so that the new row's id can be read back.
    static QString returningRow(const StoreConnection& file);
    // The row id of the row the INSERT `query` (ending in returningRow()) just added.
    static qint64 insertedRow(const StoreConnection& file, QSqlQuery& query);

    // A condition that holds while text `column` is exactly `read` (case, NULL and all), for
    // a write that must not replace what another room wrote since: binds the two values
    // sameAsValues() gives, in that order.
    static QString sameAs(const StoreConnection& file, const QString& column);
    static QVariantList sameAsValues(const std::optional<QString>& read);
};

} // namespace quilloa
