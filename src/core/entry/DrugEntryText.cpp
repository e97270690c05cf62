#include "core/entry/DrugEntryText.h"

namespace quilloa {

const QString DrugEntryText::kLineEnd = QStringLiteral("\r\n");
const QString DrugEntryText::kUsagePrefix = QStringLiteral("    用法：");

QString DrugEntryText::appendedLines(const QString& entryText)
{
    QString lines = entryText;
    lines.replace(QLatin1Char('/'), kLineEnd + kUsagePrefix);
    return lines + kLineEnd;
}

QString DrugEntryText::bodyAfterPick(const QString& body, const QString& entryText)
{
    return body + appendedLines(entryText);
}

QString DrugEntryText::toCrLf(const QString& text)
{
    return fromCrLf(text).replace(QLatin1Char('\n'), kLineEnd);
}

QString DrugEntryText::fromCrLf(const QString& text)
{
    QString plain = text;
    plain.replace(kLineEnd, QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain;
}

} // namespace quilloa
