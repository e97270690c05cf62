#include "core/exchange/CsvText.h"

namespace quilloa {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool needsQuotes(const QString& field)
{
    for (const QChar c : field) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

QString quoted(const QString& field)
{
    if (!needsQuotes(field))
        return field;
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

// Walks the text once; a quote opens a quoted run only at the start of a field, as
// spreadsheets do, so a stray quote inside a name stays a character.
class CsvParser
{
public:
    explicit CsvParser(const QString& text) : m_text(text) {}

    QList<CsvText::Record> records()
    {
        while (m_pos < m_text.size())
            readRecord();
        return m_records;
    }

private:
    void readRecord()
    {
        CsvText::Record record{m_line, {}};
        QString field;
        bool quoted = false;
        bool fieldStart = true;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (quoted) {
                if (c == QLatin1Char('"') && peek() == QLatin1Char('"')) {
                    field += c;
                    ++m_pos;
                } else if (c == QLatin1Char('"')) {
                    quoted = false;
                } else {
                    countLineEnd(c);
                    field += c;
                }
            } else if (c == QLatin1Char('"') && fieldStart) {
                quoted = true;
                fieldStart = false;
            } else if (c == QLatin1Char(',')) {
                record.fields << field;
                field.clear();
                fieldStart = true;
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                if (c == QLatin1Char('\r') && peek() == QLatin1Char('\n'))
                    ++m_pos;
                ++m_line;
                break;
            } else {
                field += c;
                fieldStart = false;
            }
        }
        record.fields << field;
        m_records << record;
    }

    QChar peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }

    void countLineEnd(QChar c)
    {
        if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && peek() != QLatin1Char('\n')))
            ++m_line;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    QList<CsvText::Record> m_records;
};

} // namespace

QString CsvText::line(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& field : fields)
        out << quoted(field);
    return out.join(QLatin1Char(','));
}

QByteArray CsvText::utf8WithBom(const QList<QStringList>& lines)
{
    QString text;
    for (const QStringList& fields : lines)
        text += line(fields) + kLineEnd;
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QList<CsvText::Record> CsvText::parse(const QString& text)
{
    return CsvParser(text).records();
}

QString CsvText::defused(const QString& text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@");
    if (!text.isEmpty() && kFormulaStarts.contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

FileWriteStatus CsvText::write(const QList<QStringList>& lines, const QString& path)
{
    return FileWriteStatus::replaceFile(path, utf8WithBom(lines));
}

} // namespace quilloa
