#include "core/entry/LookupNames.h"

#include "core/store/DirectRows.h"

namespace quilloa {
namespace {

QString tableOf(ReferenceList list)
{
    switch (list) {
    case ReferenceList::Drugs:
        return QStringLiteral("[药品]");
    case ReferenceList::Diagnoses:
        return QStringLiteral("[诊断]");
    case ReferenceList::Addresses:
        return QStringLiteral("[地址]");
    }
    return QString();
}

} // namespace

StoreResult<QStringList> LookupNames::find(const SettingsStore& store, ReferenceList list,
                                           const QString& code, Match match)
{
    const QString pattern =
        (match == Match::Contains ? QStringLiteral("%") : QString()) + code + QStringLiteral("%");
    QStringList names;
    const StoreStatus read =
        DirectRows::read(store.file(),
                         QStringLiteral("SELECT [名称] FROM %1 WHERE [拼音] LIKE ? ORDER BY rowid")
                             .arg(tableOf(list)),
                         {pattern}, [&names](const DirectRow& r) { names.append(r.text(0)); });
    if (!read.ok())
        return read;
    return names;
}

} // namespace quilloa
