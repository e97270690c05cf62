#include "core/text/Cp936Conversion.h"

#include <windows.h>

#include <optional>

namespace quilloa {
namespace {

// Qt on Windows has no converter for code page 936 of its own (it would need ICU); the
// system's conversion tables do the same work.
constexpr UINT kCodePage = 936;
constexpr char16_t kReplacement = 0xFFFD;

const wchar_t* wide(QStringView text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

} // namespace

// A character without bytes of its own becomes the system's default character rather than a
// look-alike, so the codec's round trip finds it.
QByteArray Cp936Conversion::encode(QStringView text)
{
    if (text.isEmpty())
        return {};
    const int length = int(text.size());
    const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide(text), length,
                                         nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide(text), length, bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

namespace {

// The bytes as text, or nothing when any of them is invalid.
std::optional<QString> decodeStrictly(QByteArrayView bytes)
{
    const int length = int(bytes.size());
    const int size =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

bool isLeadByte(quint8 byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(quint8 byte)
{
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Character by character, each invalid or unmapped one as U+FFFD: a lead byte without a trail
// byte stands alone, a pair without a character counts as one.
QString decodeReplacing(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = quint8(bytes[i]);
        const bool pair =
            isLeadByte(byte) && i + 1 < bytes.size() && isTrailByte(quint8(bytes[i + 1]));
        const qsizetype width = pair ? 2 : 1;
        if (isLeadByte(byte) && !pair) {
            text += QChar(kReplacement);
        } else {
            const std::optional<QString> one = decodeStrictly(bytes.sliced(i, width));
            text += one ? *one : QString(QChar(kReplacement));
        }
        i += width;
    }
    return text;
}

} // namespace

QString Cp936Conversion::decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    if (const std::optional<QString> whole = decodeStrictly(bytes))
        return *whole;
    return decodeReplacing(bytes);
}

} // namespace quilloa
