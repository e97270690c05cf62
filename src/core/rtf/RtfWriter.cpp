#include "core/rtf/RtfWriter.h"

#include "core/text/Cp936Codec.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace quilloa {
namespace {

// The largest size a "\fsN" half-point value can carry.
constexpr double kMaxPointSize = 16383;

QStringList linesOf(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

} // namespace

QString RtfWriter::write(const QString& plainText, const QString& fontName, double pointSize)
{
    QString out = header(fontName, pointSize);
    for (const QString& line : linesOf(plainText)) {
        out += escaped(line);
        out += QLatin1String("\\par\r\n");
    }
    out += QLatin1String("}\r\n");
    return out;
}

QString RtfWriter::header(const QString& fontName, double pointSize)
{
    // ";" ends a name in the font table, so a name holding one keeps it as an escaped byte.
    QString name = escaped(fontName);
    name.replace(QLatin1Char(';'), QLatin1String("\\'3b"));

    QString out = QLatin1String("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 ") + name +
                  QLatin1String(";}}\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0");
    if (std::isfinite(pointSize) && pointSize > 0) {
        const double clamped = std::min(pointSize, kMaxPointSize);
        out += QLatin1String("\\fs") + QString::number(std::max(1L, std::lround(clamped * 2)));
    }
    out += QLatin1Char(' ');
    return out;
}

QString RtfWriter::escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (const uint c : text.toUcs4())
        appendCharacter(out, char32_t(c));
    return out;
}

void RtfWriter::appendCharacter(QString& out, char32_t c)
{
    if (c == '\\' || c == '{' || c == '}') {
        out += QLatin1Char('\\');
        out += QChar(c);
    } else if (c == '\t') {
        out += QLatin1String("\\tab ");
    } else if (c >= 0x20 && c < 0x7F) {
        out += QChar(c);
    } else if (const std::optional<QByteArray> bytes = Cp936Codec::encodeChar(c)) {
        appendBytes(out, *bytes);
    } else {
        appendUnicode(out, c);
    }
}

void RtfWriter::appendBytes(QString& out, const QByteArray& bytes)
{
    for (const char byte : bytes) {
        out += QLatin1String("\\'");
        out += QString::number(quint8(byte), 16).rightJustified(2, QLatin1Char('0'));
    }
}

void RtfWriter::appendUnicode(QString& out, char32_t c)
{
    // \u takes a signed 16-bit value; a character beyond the BMP goes as its surrogate pair.
    const QString units = QString::fromUcs4(&c, 1);
    for (const QChar unit : units) {
        out += QLatin1String("\\u") + QString::number(qint16(unit.unicode()));
        out += QLatin1Char('?');
    }
}

} // namespace quilloa
