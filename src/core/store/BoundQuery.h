#pragma once

#include "store/StoreFile.h"
#include "store/StoreResult.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace quilloa {

// Runs one statement on a store with its values bound, never pasted into the text.
class BoundQuery
{
public:
    static StoreResult<QSqlQuery> run(const StoreFile& file, const QString& sql,
                                      const QVariantList& values = {});
    // For statements that change rows: fails when no row was changed.
    static StoreStatus change(const StoreFile& file, const QString& sql,
                              const QVariantList& values = {});
};

} // namespace quilloa
