#include "core/rtf/RtfReader.h"

#include "core/text/Cp936Codec.h"

#include <array>

namespace quilloa {
namespace {

// Parameters are clamped well inside int, whatever number of digits the input carries.
constexpr int kParameterLimit = 100'000'000;
constexpr int kMaxHalfPoints = 32767;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kCharsetGb2312 = 134;

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexValue(QChar c)
{
    if (isDigit(c))
        return c.unicode() - '0';
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return -1;
}

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F.
QString decodeWindows1252(QByteArrayView bytes)
{
    static constexpr std::array<char16_t, 32> kHigh{
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = quint8(byte);
        text += (value >= 0x80 && value < 0xA0) ? QChar(kHigh[value - 0x80]) : QChar(value);
    }
    return text;
}

QString decodeBytes(QByteArrayView bytes, int codePage)
{
    return codePage == 1252 ? decodeWindows1252(bytes) : Cp936Codec::decode(bytes);
}

// Only code page 936 and the Western page are told apart: the program's bodies are Chinese, and
// any other page is read as the Western one, one character per byte.
int codePageOfNumber(int codePage)
{
    return codePage == 936 ? 936 : 1252;
}

// The code page a font table's \fcharset stands for; 0 leaves it to the document.
int codePageOfCharset(int charset)
{
    if (charset == kCharsetGb2312)
        return 936;
    if (charset == 0 || charset == 2)
        return 1252;
    return 0; // the document's code page
}

struct SpecialCharacter
{
    const char* word;
    char16_t character;
};

constexpr std::array<SpecialCharacter, 15> kSpecialCharacters{{
    {"par", u'\n'},
    {"line", u'\n'},
    {"row", u'\n'},
    {"tab", u'\t'},
    {"cell", u'\t'},
    {"emdash", u'\u2014'},
    {"endash", u'\u2013'},
    {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},
    {"rquote", u'\u2019'},
    {"ldblquote", u'\u201C'},
    {"rdblquote", u'\u201D'},
    {"emspace", u'\u2003'},
    {"enspace", u'\u2002'},
    {"qmspace", u'\u2005'},
}};

// Destinations whose content is never body text.
bool isSkippedDestination(QStringView name)
{
    static const QStringList skipped =
        QStringLiteral("stylesheet info pict object header headerl headerr headerf footer footerl "
                       "footerr footerf footnote fldinst listtable listoverridetable revtbl "
                       "rsidtbl xe tc txe template nonshppict themedata colorschememapping "
                       "latentstyles datastore generator xmlnstbl")
            .split(QLatin1Char(' '));
    return skipped.contains(name);
}

} // namespace

RtfDocument RtfReader::read(QStringView input)
{
    if (!input.startsWith(QLatin1String("{\\rtf")))
        return RtfDocument::fromPlainText(input.toString());
    return RtfReader(input).parse();
}

RtfReader::RtfReader(QStringView input) : m_input(input)
{
    m_groups.append(GroupState{}); // outside the document's group
}

RtfDocument RtfReader::parse()
{
    while (!atEnd() && !m_finished) {
        const QChar c = m_input[m_pos++];
        if (c == QLatin1Char('{'))
            openGroup();
        else if (c == QLatin1Char('}'))
            closeGroup();
        else if (c == QLatin1Char('\\'))
            readBackslash();
        else if (c != QLatin1Char('\r') && c != QLatin1Char('\n') && !consumeSkippedCharacter())
            addText(c);
    }
    flushBytes();
    m_document.removeFinalParagraphMark();
    return m_document;
}

RtfReader::Destination RtfReader::destination() const
{
    return m_excessDepth > 0 ? Destination::Skip : m_groups.last().destination;
}

void RtfReader::openGroup()
{
    flushBytes();
    m_pendingSkip = 0;
    if (m_excessDepth > 0 || m_groups.size() > kMaxDepth) {
        ++m_excessDepth;
        return;
    }
    const GroupState inner = state();
    m_groups.append(inner);
}

void RtfReader::closeGroup()
{
    flushBytes();
    m_pendingSkip = 0;
    if (m_excessDepth > 0) {
        --m_excessDepth;
        return;
    }
    if (state().destination == Destination::FontTable)
        commitFont();
    if (m_groups.size() > 1)
        m_groups.removeLast();
    // Whatever follows the document's closing brace is not part of it.
    m_finished = m_groups.size() <= 1;
}

void RtfReader::readBackslash()
{
    if (atEnd())
        return;
    const QChar next = m_input[m_pos];
    if (!isAsciiLetter(next)) {
        ++m_pos;
        readControlSymbol(next);
        return;
    }
    const ControlWord word = readControlWord();
    if (word.name == QLatin1String("bin")) {
        // The data is skipped even inside a skipped destination, so that it is never parsed.
        skipBinary(word.parameter);
        consumeSkippedCharacter();
        return;
    }
    if (!consumeSkippedCharacter())
        handleControlWord(word);
}

void RtfReader::readControlSymbol(QChar symbol)
{
    if (symbol == QLatin1Char('*')) {
        state().destination = Destination::Skip; // no "\*" destination carries body text
        return;
    }
    if (symbol == QLatin1Char('\'')) {
        readHexByte();
        return;
    }
    if (consumeSkippedCharacter())
        return;
    switch (symbol.unicode()) {
    case '\\':
    case '{':
    case '}':
        addText(symbol);
        break;
    case '~':
        addSpecial(QChar(0x00A0));
        break;
    case '_':
        addSpecial(QChar(0x2011));
        break;
    case '\r':
    case '\n':
        addSpecial(QLatin1Char('\n'));
        break;
    default:
        break; // optional hyphen, index and formula marks, unknown symbols
    }
}

void RtfReader::readHexByte()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && !atEnd() && hexValue(m_input[m_pos]) >= 0) {
        value = value * 16 + hexValue(m_input[m_pos]);
        ++m_pos;
        ++digits;
    }
    if (consumeSkippedCharacter() || digits < 2)
        return; // a truncated escape stands for nothing
    addByte(char(value));
}

RtfReader::ControlWord RtfReader::readControlWord()
{
    ControlWord word;
    const qsizetype start = m_pos;
    while (!atEnd() && isAsciiLetter(m_input[m_pos]))
        ++m_pos;
    word.name = m_input.sliced(start, m_pos - start);
    if (!atEnd()) {
        const QChar c = m_input[m_pos];
        const bool negative =
            c == QLatin1Char('-') && m_pos + 1 < m_input.size() && isDigit(m_input[m_pos + 1]);
        if (isDigit(c) || negative) {
            word.hasParameter = true;
            word.parameter = readParameter();
        }
    }
    if (!atEnd() && m_input[m_pos] == QLatin1Char(' '))
        ++m_pos;
    return word;
}

int RtfReader::readParameter()
{
    const bool negative = m_input[m_pos] == QLatin1Char('-');
    if (negative)
        ++m_pos;
    int value = 0;
    while (!atEnd() && isDigit(m_input[m_pos])) {
        if (value < kParameterLimit)
            value = value * 10 + (m_input[m_pos].unicode() - '0');
        ++m_pos;
    }
    return negative ? -value : value;
}

bool RtfReader::consumeSkippedCharacter()
{
    if (m_pendingSkip <= 0)
        return false;
    --m_pendingSkip;
    return true;
}

void RtfReader::skipBinary(int length)
{
    const qsizetype remaining = m_input.size() - m_pos;
    m_pos += qBound(qsizetype(0), qsizetype(length), remaining);
}

void RtfReader::handleControlWord(const ControlWord& word)
{
    if (word.name == QLatin1String("u")) {
        addUnicode(word.parameter);
        return;
    }
    if (word.name == QLatin1String("uc")) {
        state().unicodeSkip = qBound(0, word.parameter, kMaxUnicodeSkip);
        return;
    }
    if (handleDestination(word.name))
        return;
    switch (destination()) {
    case Destination::FontTable:
        handleFontTableWord(word);
        return;
    case Destination::ColourTable:
        handleColourTableWord(word);
        return;
    case Destination::Skip:
        return;
    case Destination::Text:
        break;
    }
    if (!handleDocumentWord(word) && !handleFormatting(word))
        handleSpecialCharacter(word);
}

bool RtfReader::handleDestination(QStringView name)
{
    if (name == QLatin1String("fonttbl")) {
        flushBytes();
        state().destination = Destination::FontTable;
        m_fontBeingDefined = -1;
        return true;
    }
    if (name == QLatin1String("colortbl")) {
        state().destination = Destination::ColourTable;
        m_colours.clear();
        m_red = m_green = m_blue = -1;
        return true;
    }
    if (!isSkippedDestination(name))
        return false;
    flushBytes();
    state().destination = Destination::Skip;
    return true;
}

bool RtfReader::handleDocumentWord(const ControlWord& word)
{
    if (word.name == QLatin1String("ansicpg")) {
        m_documentCodePage = codePageOfNumber(word.parameter);
        return true;
    }
    if (word.name == QLatin1String("deff")) {
        flushBytes();
        m_defaultFont = word.parameter;
        return true;
    }
    return false;
}

bool RtfReader::handleFormatting(const ControlWord& word)
{
    GroupState& current = state();
    const bool on = !word.hasParameter || word.parameter != 0;
    if (word.name == QLatin1String("pard"))
        return true; // paragraph formatting is not kept
    flushBytes();
    if (word.name == QLatin1String("plain")) {
        current.font = -1;
        current.halfPoints = 0;
        current.bold = current.italic = false;
        current.colour = 0;
    } else if (word.name == QLatin1String("f")) {
        current.font = word.parameter;
    } else if (word.name == QLatin1String("fs")) {
        const int halfPoints = word.hasParameter ? word.parameter : kDefaultHalfPoints;
        current.halfPoints = qBound(0, halfPoints, kMaxHalfPoints);
    } else if (word.name == QLatin1String("b")) {
        current.bold = on;
    } else if (word.name == QLatin1String("i")) {
        current.italic = on;
    } else if (word.name == QLatin1String("cf")) {
        current.colour = word.parameter;
    } else {
        return false;
    }
    return true;
}

bool RtfReader::handleSpecialCharacter(const ControlWord& word)
{
    for (const SpecialCharacter& special : kSpecialCharacters) {
        if (word.name == QLatin1String(special.word)) {
            addSpecial(QChar(special.character));
            return true;
        }
    }
    return false;
}

void RtfReader::handleFontTableWord(const ControlWord& word)
{
    flushBytes();
    if (word.name == QLatin1String("f")) {
        commitFont(); // the previous entry, when it lacked its ";"
        m_fontBeingDefined = word.parameter;
        m_fontDefinition = Font{};
    } else if (word.name == QLatin1String("fcharset")) {
        m_fontDefinition.codePage = codePageOfCharset(word.parameter);
    } else if (word.name == QLatin1String("cpg")) {
        m_fontDefinition.codePage = codePageOfNumber(word.parameter);
    }
}

void RtfReader::handleColourTableWord(const ControlWord& word)
{
    const int value = qBound(0, word.parameter, 255);
    if (word.name == QLatin1String("red"))
        m_red = value;
    else if (word.name == QLatin1String("green"))
        m_green = value;
    else if (word.name == QLatin1String("blue"))
        m_blue = value;
}

void RtfReader::addText(QChar c)
{
    switch (destination()) {
    case Destination::Skip:
        return;
    case Destination::ColourTable:
        if (c == QLatin1Char(';'))
            commitColour();
        return;
    case Destination::FontTable:
        if (c == QLatin1Char(';')) {
            flushBytes();
            commitFont();
            return;
        }
        break;
    case Destination::Text:
        break;
    }
    if (c.unicode() < 0x80) {
        // ASCII joins the byte run: a double-byte character's trail byte may stand unescaped.
        addByte(char(c.unicode()));
    } else {
        addSpecial(c);
    }
}

void RtfReader::addByte(char byte)
{
    if (destination() == Destination::Skip)
        return;
    m_bytes.append(byte);
}

void RtfReader::addSpecial(QChar c)
{
    flushBytes();
    emitText(QString(c));
}

void RtfReader::addUnicode(int value)
{
    // \u carries a signed 16-bit value; anything else is not a character.
    const int unit = value < 0 ? value + 0x10000 : value;
    addSpecial(unit >= 0 && unit <= 0xFFFF ? QChar(char16_t(unit))
                                           : QChar(QChar::ReplacementCharacter));
    m_pendingSkip = state().unicodeSkip;
}

void RtfReader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QString text = decodeBytes(m_bytes, codePageForBytes());
    m_bytes.clear();
    emitText(text);
}

void RtfReader::emitText(const QString& text)
{
    switch (destination()) {
    case Destination::Text:
        m_document.append(text, currentFormat());
        break;
    case Destination::FontTable:
        if (m_fontBeingDefined >= 0)
            m_fontDefinition.name += text;
        break;
    case Destination::ColourTable:
    case Destination::Skip:
        break;
    }
}

void RtfReader::commitFont()
{
    if (m_fontBeingDefined < 0)
        return;
    m_fontDefinition.name = m_fontDefinition.name.trimmed();
    m_fonts.insert(m_fontBeingDefined, m_fontDefinition);
    m_fontBeingDefined = -1;
}

void RtfReader::commitColour()
{
    const bool given = m_red >= 0 || m_green >= 0 || m_blue >= 0;
    m_colours.append(given ? QColor(qMax(m_red, 0), qMax(m_green, 0), qMax(m_blue, 0)) : QColor());
    m_red = m_green = m_blue = -1;
}

int RtfReader::codePageForBytes() const
{
    int codePage = 0;
    if (destination() == Destination::FontTable)
        codePage = m_fontDefinition.codePage;
    else
        codePage = m_fonts.value(currentFontNumber()).codePage;
    return codePage != 0 ? codePage : m_documentCodePage;
}

int RtfReader::currentFontNumber() const
{
    const int font = m_groups.last().font;
    return font >= 0 ? font : m_defaultFont;
}

RtfDocument::Run RtfReader::currentFormat() const
{
    const GroupState& current = m_groups.last();
    RtfDocument::Run run;
    run.fontFamily = m_fonts.value(currentFontNumber()).name;
    run.pointSize = current.halfPoints / 2.0;
    run.bold = current.bold;
    run.italic = current.italic;
    if (current.colour >= 0 && current.colour < m_colours.size())
        run.colour = m_colours.at(current.colour);
    return run;
}

} // namespace quilloa
