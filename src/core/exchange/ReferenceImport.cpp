#include "core/exchange/ReferenceImport.h"

#include "core/exchange/CsvText.h"
#include "core/maintenance/DrugEntryFields.h"
#include "core/maintenance/EntryCodeRules.h"
#include "core/store/Pinyin.h"

namespace quilloa {
namespace {

constexpr int kDrugNameLimit = 200;
constexpr int kListNameLimit = 50;

bool isColumnTitle(const QString& field)
{
    static const QStringList kTitles{QStringLiteral("名称"),     QStringLiteral("药品名称"),
                                     QStringLiteral("诊断名称"), QStringLiteral("地址名称"),
                                     QStringLiteral("诊断"),     QStringLiteral("地址")};
    return kTitles.contains(field.trimmed());
}

} // namespace

int ReferenceImport::nameLimit(ReferenceList list)
{
    return list == ReferenceList::Drugs ? kDrugNameLimit : kListNameLimit;
}

ReferenceImport ReferenceImport::read(ReferenceList list, const QByteArray& fileBytes,
                                      const QStringList& existingNames)
{
    ReferenceImport import(list);
    import.m_knownNames = QSet<QString>(existingNames.begin(), existingNames.end());
    const TextDecoding::Decoded decoded = TextDecoding::decode(fileBytes);
    import.m_encoding = decoded.encoding;
    const QList<CsvText::Record> records = CsvText::parse(decoded.text);
    for (int i = 0; i < records.size(); ++i) {
        if (i == 0 && isColumnTitle(records[i].fields.first()))
            continue;
        import.readRecord(records[i].lineNumber, records[i].fields);
    }
    return import;
}

// The code is made as the windows make it: the initials of the name when the line gives none;
// initials that run past the column are cut, since a code is only ever matched by its start.
void ReferenceImport::readRecord(int lineNumber, const QStringList& fields)
{
    const bool drugs = m_list == ReferenceList::Drugs;
    const int codeColumn = drugs ? 2 : 1;
    QString name = fields.value(0).trimmed();
    QString usage = drugs ? fields.value(1).trimmed() : QString();
    const QString givenCode = fields.value(codeColumn).trimmed();
    if (drugs && usage.isEmpty()) {
        const DrugEntryFields split = DrugEntryFields::fromStored(name);
        name = split.name().trimmed();
        usage = split.usage().trimmed();
    }
    if (name.isEmpty()) {
        m_refused.append({lineNumber, QStringLiteral("名称为空")});
        return;
    }
    if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')) ||
        usage.contains(QLatin1Char('\n')) || usage.contains(QLatin1Char('\r'))) {
        m_refused.append({lineNumber, QStringLiteral("名称或用法中有换行")});
        return;
    }
    const QString stored = drugs ? DrugEntryFields(name, usage).stored() : name;
    if (refuseLongText(lineNumber,
                       drugs && !usage.isEmpty() ? QStringLiteral("名称加用法")
                                                 : QStringLiteral("名称"),
                       stored, nameLimit(m_list)) ||
        refuseLongText(lineNumber, QStringLiteral("拼音代码"), givenCode, kCodeLimit))
        return;
    if (m_knownNames.contains(stored)) {
        m_duplicates.append(lineNumber);
        return;
    }
    const QString codeBox = givenCode.isEmpty() ? Pinyin::codeOfName(name) : givenCode;
    const QString code =
        drugs ? EntryCodeRules::storedDrugCode(EntryCodeRules::drugCodeBox(codeBox, name))
              : EntryCodeRules::listCode(codeBox, name);
    m_knownNames.insert(stored);
    m_entries.append({stored, code.left(kCodeLimit)});
}

bool ReferenceImport::refuseLongText(int lineNumber, const QString& what, const QString& text,
                                     int limit)
{
    if (text.size() <= limit)
        return false;
    m_refused.append({lineNumber, QStringLiteral("%1有%2个字，超过了最多%3个字的限制")
                                      .arg(what)
                                      .arg(text.size())
                                      .arg(limit)});
    return true;
}

StoreStatus ReferenceImport::store(const SettingsStore& settings) const
{
    QList<ReferenceEntry> entries;
    entries.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        entries.append({0, entry.name, entry.code});
    return settings.addAll(m_list, entries);
}

QStringList ReferenceImport::refusalLines() const
{
    QStringList lines;
    for (const Refusal& refusal : m_refused)
        lines << QStringLiteral("第%1行：%2").arg(refusal.lineNumber).arg(refusal.reason);
    return lines;
}

} // namespace quilloa
