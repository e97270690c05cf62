#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace quilloa {

// The slow, salted key derivation behind the stored login password (PBKDF2-HMAC-SHA256). The
// one place that names the platform's crypto library: another platform supplies its own
// KeyDerivation.cpp with the same function.
class KeyDerivation
{
public:
    // `length` bytes derived from `secret` and `salt`; empty when the library failed.
    static QByteArray pbkdf2Sha256(QByteArrayView secret, QByteArrayView salt, int iterations,
                                   int length);
};

} // namespace quilloa
