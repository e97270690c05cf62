#include "core/startup/KeyDerivation.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

namespace quilloa {

namespace {

// The system's own PBKDF2 (bcrypt.dll, part of every Windows since Vista), so the Windows
// program needs no crypto library of its own.
class HmacSha256
{
public:
    HmacSha256()
    {
        if (BCryptOpenAlgorithmProvider(&m_handle, BCRYPT_SHA256_ALGORITHM, nullptr,
                                        BCRYPT_ALG_HANDLE_HMAC_FLAG) != 0)
            m_handle = nullptr;
    }
    ~HmacSha256()
    {
        if (m_handle)
            BCryptCloseAlgorithmProvider(m_handle, 0);
    }
    HmacSha256(const HmacSha256&) = delete;
    HmacSha256& operator=(const HmacSha256&) = delete;

    BCRYPT_ALG_HANDLE handle() const { return m_handle; }

private:
    BCRYPT_ALG_HANDLE m_handle = nullptr;
};

PUCHAR bytes(QByteArrayView view)
{
    return reinterpret_cast<PUCHAR>(const_cast<char*>(view.data()));
}

} // namespace

QByteArray KeyDerivation::pbkdf2Sha256(QByteArrayView secret, QByteArrayView salt, int iterations,
                                       int length)
{
    HmacSha256 hmac;
    if (!hmac.handle() || iterations <= 0 || length <= 0)
        return QByteArray();
    QByteArray key(length, Qt::Uninitialized);
    const NTSTATUS status = BCryptDeriveKeyPBKDF2(
        hmac.handle(), bytes(secret), ULONG(secret.size()), bytes(salt), ULONG(salt.size()),
        ULONGLONG(iterations), reinterpret_cast<PUCHAR>(key.data()), ULONG(length), 0);
    return status == 0 ? key : QByteArray();
}

} // namespace quilloa
