#include "core/entry/LookupNames.h"

#include "core/store/DirectRows.h"

namespace quilloa {
StoreResult<QStringList> LookupNames::find(const SettingsStore& store, ReferenceList list,
                                           const QString& code, Match match)
{
    const QString pattern =
        (match == Match::Contains ? QStringLiteral("%") : QString()) + code + QStringLiteral("%");
    QStringList names;
    const StoreStatus read =
        DirectRows::read(store.file(),
                         QStringLiteral("SELECT [名称] FROM %1 WHERE [拼音] LIKE ? ORDER BY rowid")
                             .arg(SettingsStore::tableName(list)),
                         {pattern}, [&names](const DirectRow& r) { names.append(r.text(0)); });
    if (!read.ok())
        return read;
    return names;
}

} // namespace quilloa
