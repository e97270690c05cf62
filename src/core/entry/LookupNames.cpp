#include "entry/LookupNames.h"

#include "store/BoundQuery.h"

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
    StoreResult<QSqlQuery> result =
        BoundQuery::run(store.file(),
                        QStringLiteral("SELECT [名称] FROM %1 WHERE [拼音] LIKE ? ORDER BY rowid")
                            .arg(tableOf(list)),
                        {pattern});
    if (!result.ok())
        return StoreStatus(result);
    QSqlQuery query = result.takeValue();
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

} // namespace quilloa
