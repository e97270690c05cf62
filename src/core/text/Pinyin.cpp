#include "core/text/Pinyin.h"

#include "core/text/Cp936Codec.h"

#include <array>
#include <optional>

namespace quilloa {
namespace {

struct InitialRange
{
    qint16 firstCode;
    char initial;
};

// Lower bounds of the initials' ranges in the level-1 block (B0A1 to D7F9), highest first.
// There are no ranges for I, U and V.
constexpr std::array<InitialRange, 23> kRanges{{
    {-11055, 'Z'}, {-11847, 'Y'}, {-12556, 'X'}, {-12838, 'W'}, {-13318, 'T'}, {-14090, 'S'},
    {-14149, 'R'}, {-14630, 'Q'}, {-14914, 'P'}, {-14922, 'O'}, {-15165, 'N'}, {-15640, 'M'},
    {-16212, 'L'}, {-16474, 'K'}, {-17417, 'J'}, {-17922, 'H'}, {-18239, 'G'}, {-18526, 'F'},
    {-18710, 'E'}, {-19218, 'D'}, {-19775, 'C'}, {-20283, 'B'}, {-20319, 'A'},
}};

struct ExceptionCode
{
    qint16 code;
    char initial;
};

// Level-2 characters (outside the pinyin-sorted block) that drug names need: 唑, 孢, 呋.
constexpr std::array<ExceptionCode, 3> kExceptions{{{-8206, 'Z'}, {-6433, 'B'}, {-8261, 'F'}}};

// Codes from D7FA up (level-2 block, user-defined area) and all one-byte codes.
constexpr qint16 kFirstCodeAfterLevel1 = -10246;

constexpr qint16 kSpaceCode = 0x20;

} // namespace

qint16 Pinyin::characterCode(char32_t c)
{
    const std::optional<QByteArray> bytes = Cp936Codec::encodeChar(c);
    if (!bytes || bytes->isEmpty() || bytes->size() > 2)
        return kSpaceCode;
    const auto lead = quint8(bytes->at(0));
    if (bytes->size() == 1)
        return qint16(lead);
    const auto trail = quint8(bytes->at(1));
    return qint16(quint16((lead << 8) | trail));
}

QChar Pinyin::initialOf(qint16 code)
{
    for (const ExceptionCode& exception : kExceptions) {
        if (code == exception.code)
            return QLatin1Char(exception.initial);
    }
    if (code >= kFirstCodeAfterLevel1)
        return QLatin1Char(' ');
    for (const InitialRange& range : kRanges) {
        if (range.firstCode <= code)
            return QLatin1Char(range.initial);
    }
    return QLatin1Char(' ');
}

QString Pinyin::codeOfName(const QString& name)
{
    QString code;
    for (const uint c : name.toUcs4()) {
        code += initialOf(characterCode(char32_t(c))).toLower();
        if (c == ' ')
            break;
    }
    return code;
}

} // namespace quilloa
