#include "core/startup/KeyDerivation.h"

#include <openssl/evp.h>

namespace quilloa {

QByteArray KeyDerivation::pbkdf2Sha256(QByteArrayView secret, QByteArrayView salt, int iterations,
                                       int length)
{
    QByteArray key(length, Qt::Uninitialized);
    const int done = PKCS5_PBKDF2_HMAC(secret.data(), int(secret.size()),
                                       reinterpret_cast<const unsigned char*>(salt.data()),
                                       int(salt.size()), iterations, EVP_sha256(), length,
                                       reinterpret_cast<unsigned char*>(key.data()));
    return done == 1 ? key : QByteArray();
}

} // namespace quilloa
