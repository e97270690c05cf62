#include "core/startup/PasswordHash.h"

#include "core/startup/KeyDerivation.h"

#include <QRandomGenerator>
#include <QStringList>

#include <array>

namespace quilloa {
namespace {

const QString kTag = QStringLiteral("pbkdf2");
constexpr int kSaltBytes = 12; // 16 characters
constexpr int kKeyBytes = 16;  // 22 characters
constexpr int kLongestThousands = 999;
const auto kBase64 = QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals;

QByteArray derive(const QString& password, const QByteArray& salt, int iterations)
{
    return KeyDerivation::pbkdf2Sha256(PasswordHash::normalized(password).toUtf8(), salt,
                                       iterations, kKeyBytes);
}

QByteArray fromBase64(const QString& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(
        text.toLatin1(), kBase64 | QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

} // namespace

QString PasswordHash::normalized(const QString& text)
{
    return text.trimmed().toCaseFolded();
}

QString PasswordHash::make(const QString& password)
{
    std::array<quint32, 3> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray salt(reinterpret_cast<const char*>(words.data()), kSaltBytes);
    const QByteArray key = derive(password, salt, kIterations);
    if (key.isEmpty())
        return QString();
    return QStringList{kTag, QString::number(kIterations / 1000),
                       QString::fromLatin1(salt.toBase64(kBase64)),
                       QString::fromLatin1(key.toBase64(kBase64))}
        .join(QLatin1Char('$'));
}

bool PasswordHash::isHash(const QString& stored)
{
    return stored.trimmed().startsWith(kTag + QLatin1Char('$'));
}

bool PasswordHash::matches(const QString& typed, const QString& stored)
{
    const QStringList parts = stored.trimmed().split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != kTag)
        return false;
    bool number = false;
    const int thousands = parts[1].toInt(&number);
    const QByteArray salt = fromBase64(parts[2]);
    const QByteArray key = fromBase64(parts[3]);
    if (!number || thousands < 1 || thousands > kLongestThousands || salt.size() != kSaltBytes ||
        key.size() != kKeyBytes)
        return false;
    const QByteArray derived = derive(typed, salt, thousands * 1000);
    return !derived.isEmpty() && sameBytes(derived, key);
}

bool PasswordHash::sameBytes(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace quilloa
