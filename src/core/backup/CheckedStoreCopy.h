#pragma once

#include "store/StoreResult.h"

#include <QString>

namespace quilloa {

// A store file copied whole and checked before it stands under the target name:
// the copy is taken from an open connection in one consistent read, checked by
// the database, and only then renamed over the target, so the target is always
// either the old file or a sound new one.
class CheckedStoreCopy
{
public:
    static StoreStatus copy(const QString& source, const QString& target);
    // Whether a file is a sound store: it opens and the database's own check
    // finds nothing.
    static StoreStatus check(const QString& path);
};

} // namespace quilloa
