#include "core/maintenance/EntryCodeRules.h"

namespace quilloa {

QString EntryCodeRules::drugCodeBox(const QString& codeBox, const QString& name)
{
    return isBlank(codeBox) ? name : codeBox;
}

QString EntryCodeRules::storedDrugCode(const QString& codeBox)
{
    return trimSpaces(trimSpaces(codeBox).left(kCodeLimit));
}

QString EntryCodeRules::listCode(const QString& codeBox, const QString& name)
{
    return codeBox.isEmpty() ? name : codeBox;
}

bool EntryCodeRules::isBlank(const QString& text)
{
    return trimSpaces(text).isEmpty();
}

QString EntryCodeRules::trimSpaces(const QString& text)
{
    const QChar space(QLatin1Char(' '));
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == space)
        ++first;
    while (end > first && text.at(end - 1) == space)
        --end;
    return text.mid(first, end - first);
}

} // namespace quilloa
