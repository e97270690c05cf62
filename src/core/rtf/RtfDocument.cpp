#include "core/rtf/RtfDocument.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace quilloa {
namespace {

QTextCharFormat charFormatOf(const RtfDocument::Run& run)
{
    QTextCharFormat format;
    if (!run.fontFamily.isEmpty())
        format.setFontFamilies(QStringList{run.fontFamily});
    if (run.pointSize > 0)
        format.setFontPointSize(run.pointSize);
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    if (run.colour.isValid())
        format.setForeground(run.colour);
    return format;
}

} // namespace

bool RtfDocument::Run::hasSameFormat(const Run& other) const
{
    return fontFamily == other.fontFamily && pointSize == other.pointSize && bold == other.bold &&
           italic == other.italic && colour == other.colour;
}

RtfDocument RtfDocument::fromPlainText(const QString& text)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    RtfDocument document;
    document.append(normalised, Run{});
    return document;
}

void RtfDocument::append(const QString& text, const Run& format)
{
    if (text.isEmpty())
        return;
    if (!m_runs.isEmpty() && m_runs.last().hasSameFormat(format)) {
        m_runs.last().text += text;
        return;
    }
    Run run = format;
    run.text = text;
    m_runs.append(run);
}

void RtfDocument::removeFinalParagraphMark()
{
    if (m_runs.isEmpty() || !m_runs.last().text.endsWith(QLatin1Char('\n')))
        return;
    m_runs.last().text.chop(1);
    if (m_runs.last().text.isEmpty())
        m_runs.removeLast();
}

QString RtfDocument::plainText() const
{
    QString text;
    for (const Run& run : m_runs)
        text += run.text;
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void RtfDocument::fillTextDocument(QTextDocument& document) const
{
    document.clear();
    QTextCursor cursor(&document);
    for (const Run& run : m_runs)
        cursor.insertText(run.text, charFormatOf(run));
}

} // namespace quilloa
