#include "core/exchange/ReferenceImport.h"

#include "core/exchange/CsvText.h"
#include "core/exchange/ReferenceCsvExport.h"
#include "core/maintenance/DrugEntryFields.h"
#include "core/maintenance/EntryCodeRules.h"
#include "core/text/Pinyin.h"

namespace quilloa {
namespace {

constexpr int kDrugNameLimit = 200;
constexpr int kListNameLimit = 50;
constexpr int kControlLinesNamed = 5;

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
    if (import.refuseFile(decoded))
        return import;
    const QList<CsvText::Record> records = CsvText::parse(decoded.text);
    for (int i = 0; i < records.size(); ++i) {
        if (i == 0) {
            import.m_exact = records[i].fields == ReferenceCsvExport::heading(list);
            if (const auto heading = ImportColumns::fromHeading(list, records[i].fields)) {
                import.m_columns = *heading;
                continue;
            }
        }
        import.readRecord(records[i].lineNumber, records[i].fields);
    }
    return import;
}

// A binary file read as text would add hundreds of entries of garbage, so one such line is
// enough to take nothing from the file.
bool ReferenceImport::refuseFile(const TextDecoding::Decoded& decoded)
{
    if (decoded.encoding == TextDecoding::Encoding::NotText) {
        m_fileRefusal =
            QStringLiteral("不是文本文件（能导入的是 UTF-8、带字节顺序标记的 UTF-16 或 GBK 编码的"
                           " CSV 文件）");
        return true;
    }
    const QList<TextDecoding::ControlLine> lines =
        TextDecoding::controlLines(decoded.text, kControlLinesNamed);
    if (lines.isEmpty())
        return false;
    QStringList named;
    for (const TextDecoding::ControlLine& line : lines)
        named << QStringLiteral("第%1行有控制字符 U+%2")
                     .arg(line.lineNumber)
                     .arg(int(line.character), 4, 16, QLatin1Char('0'))
                     .toUpper();
    m_fileRefusal = named.join(QStringLiteral("，")) + QStringLiteral("，不像是名称列表");
    return true;
}

// The code is made as the windows make it: the initials of the name when the line gives none;
// initials that run past the column are cut, since a code is only ever matched by its start.
void ReferenceImport::readRecord(int lineNumber, const QStringList& fields)
{
    const bool drugs = m_list == ReferenceList::Drugs;
    const auto field = [&](int column) {
        const QString text = column == ImportColumns::kNone ? QString() : fields.value(column);
        return m_exact ? text : text.trimmed();
    };
    QString name = field(m_columns.name());
    QString usage = field(m_columns.usage());
    const QString givenCode = field(m_columns.code());
    if (drugs && usage.isEmpty() && !m_exact) {
        const DrugEntryFields split = DrugEntryFields::fromStored(name);
        name = split.name().trimmed();
        usage = split.usage().trimmed();
    }
    if (name.trimmed().isEmpty()) {
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
    m_knownNames.insert(stored);
    if (m_exact && !givenCode.isEmpty()) {
        m_entries.append({stored, givenCode});
        return;
    }
    const QString codeBox = givenCode.isEmpty() ? Pinyin::codeOfName(name) : givenCode;
    const QString code =
        drugs ? EntryCodeRules::storedDrugCode(EntryCodeRules::drugCodeBox(codeBox, name))
              : EntryCodeRules::listCode(codeBox, name);
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
