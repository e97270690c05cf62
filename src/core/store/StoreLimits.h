#pragma once

#include "core/store/StoreResult.h"

#include <QString>
#include <QVariantList>

namespace quilloa {

// The tables' length limits, checked before a write leaves the program. A server that refuses a
// row writes the whole row into its log, so a value too long for its column must never get
// there: the check is the server's own, done first.
class StoreLimits
{
public:
    // Checks the values an INSERT INTO "t" (…) VALUES (…) or UPDATE "t" SET "c" = ?, … of the
    // program's own binds to the columns it names. A refusal names the column and its limit as
    // the server would; `path` is the store's description.
    static StoreStatus check(const QString& sql, const QVariantList& values, const QString& path);

    // Characters as the server counts them (a character outside the BMP is one).
    static qsizetype characters(const QString& text);
};

} // namespace quilloa
