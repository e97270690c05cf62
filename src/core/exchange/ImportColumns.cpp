#include "core/exchange/ImportColumns.h"

namespace quilloa {
namespace {

bool containsAny(const QString& cell, std::initializer_list<const char16_t*> words)
{
    for (const char16_t* word : words) {
        if (cell.contains(QStringView(word)))
            return true;
    }
    return false;
}

bool isAnyOf(const QString& cell, std::initializer_list<const char16_t*> words)
{
    for (const char16_t* word : words) {
        if (cell == QStringView(word))
            return true;
    }
    return false;
}

} // namespace

ImportColumns ImportColumns::inExportOrder(ReferenceList list)
{
    ImportColumns columns;
    const bool drugs = list == ReferenceList::Drugs;
    columns.m_usage = drugs ? 1 : kNone;
    columns.m_code = drugs ? 2 : 1;
    return columns;
}

// A code title is looked for first, since "药品代码" names a code, not a drug; a line with a
// single cell that is no title, or without a name column, is a first entry.
std::optional<ImportColumns> ImportColumns::fromHeading(ReferenceList list,
                                                        const QStringList& cells)
{
    ImportColumns columns;
    columns.m_name = kNone;
    for (int i = 0; i < cells.size(); ++i) {
        const Title title = titleOf(cells[i].trimmed());
        if (title == Title::NotATitle)
            return std::nullopt;
        int* slot = title == Title::Name                                    ? &columns.m_name
                    : title == Title::Usage && list == ReferenceList::Drugs ? &columns.m_usage
                    : title == Title::Code                                  ? &columns.m_code
                                                                            : nullptr;
        if (slot && *slot == kNone)
            *slot = i;
    }
    if (columns.m_name == kNone)
        return std::nullopt;
    for (const QString& cell : cells)
        columns.m_titles << cell.trimmed();
    return columns;
}

ImportColumns::Title ImportColumns::titleOf(const QString& cell)
{
    if (cell.isEmpty())
        return Title::Unused;
    if (containsAny(cell, {u"拼音", u"代码", u"简码", u"助记", u"编码", u"首字母"}))
        return Title::Code;
    if (containsAny(cell, {u"用法", u"用量"}))
        return Title::Usage;
    if (containsAny(cell, {u"名称", u"药名", u"品名", u"通用名", u"病名"}) ||
        isAnyOf(cell, {u"药品", u"诊断", u"地址", u"名字"}))
        return Title::Name;
    if (isAnyOf(cell,
                {u"规格", u"单位", u"备注", u"序号", u"编号", u"类别", u"剂型", u"单价", u"价格"}))
        return Title::Unused;
    return Title::NotATitle;
}

QString ImportColumns::columnName(int column) const
{
    if (m_titles.isEmpty())
        return QStringLiteral("第%1列").arg(column + 1);
    return QStringLiteral("“%1”列").arg(m_titles[column]);
}

QString ImportColumns::description() const
{
    QStringList parts{QStringLiteral("名称取自") + columnName(m_name)};
    if (m_usage != kNone)
        parts << QStringLiteral("用法取自") + columnName(m_usage);
    parts << (m_code != kNone ? QStringLiteral("拼音代码取自") + columnName(m_code)
                              : QStringLiteral("拼音代码由名称生成"));
    QStringList unused;
    for (int i = 0; i < m_titles.size(); ++i) {
        if (i != m_name && i != m_usage && i != m_code && !m_titles[i].isEmpty())
            unused << QStringLiteral("“%1”").arg(m_titles[i]);
    }
    QString text = parts.join(QStringLiteral("，"));
    if (!unused.isEmpty())
        text += QStringLiteral("；%1列没有导入").arg(unused.join(QStringLiteral("、")));
    return m_titles.isEmpty() ? QStringLiteral("第1行不是标题，按列的次序读：") + text
                              : QStringLiteral("第1行是标题：") + text;
}

} // namespace quilloa
