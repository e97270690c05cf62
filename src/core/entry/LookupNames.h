#pragma once

#include "core/store/ReferenceEntry.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreResult.h"

#include <QStringList>

namespace quilloa {

// The names a sheet lookup list shows: every diagnosis or address whose code begins with, or
// contains, the typed text, in the order the entries were added. The same match as
// SettingsStore::codeStartsWith / codeContains, reading only the names, since the lists are
// refilled at every keystroke and may hold thousands of entries.
class LookupNames
{
public:
    enum class Match
    {
        Prefix,
        Contains,
    };

    static StoreResult<QStringList> find(const SettingsStore& store, ReferenceList list,
                                         const QString& code, Match match);
};

} // namespace quilloa
