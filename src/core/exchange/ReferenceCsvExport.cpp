#include "core/exchange/ReferenceCsvExport.h"

#include "core/exchange/CsvText.h"
#include "core/maintenance/DrugEntryFields.h"

namespace quilloa {

QList<QStringList> ReferenceCsvExport::lines(ReferenceList list,
                                             const QList<ReferenceEntry>& entries)
{
    const bool drugs = list == ReferenceList::Drugs;
    QList<QStringList> lines{heading(list)};
    for (const ReferenceEntry& entry : entries) {
        const QString code = entry.code().value_or(QString());
        if (drugs) {
            // A name ending in "/" has no usage to split off and is written whole.
            const DrugEntryFields fields = DrugEntryFields::fromStored(entry.name());
            lines << QStringList{fields.usage().isEmpty() ? entry.name() : fields.name(),
                                 fields.usage(), code};
        } else {
            lines << QStringList{entry.name(), code};
        }
    }
    return lines;
}

QStringList ReferenceCsvExport::heading(ReferenceList list)
{
    if (list == ReferenceList::Drugs)
        return {QStringLiteral("名称"), QStringLiteral("用法"), QStringLiteral("拼音")};
    return {QStringLiteral("名称"), QStringLiteral("拼音")};
}

FileWriteStatus ReferenceCsvExport::write(ReferenceList list, const QList<ReferenceEntry>& entries,
                                          const QString& path)
{
    return CsvText::write(lines(list, entries), path);
}

} // namespace quilloa
