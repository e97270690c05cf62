#pragma once

#include <QByteArrayView>
#include <QString>

namespace quilloa {

// The login password as the archive keeps it: never the password itself but a salted, slow
// hash of it, "pbkdf2$<thousands of iterations>$<salt>$<key>" (base64, at most 50 characters,
// the width of the password column). The password is hashed trimmed and case-folded, so the
// login stays blind to case and surrounding blanks.
class PasswordHash
{
public:
    // About 70 ms on a current computer: slow for a guessing program, unnoticed at a login.
    static constexpr int kIterations = 300'000;

    // A fresh hash of `password` with a random salt; empty when the crypto library failed.
    static QString make(const QString& password);
    // Whether `stored` claims to be a hash (it may still be malformed: then nothing matches).
    static bool isHash(const QString& stored);
    // Whether `typed` is the password behind the hash `stored`.
    static bool matches(const QString& typed, const QString& stored);
    // The form that is compared: surrounding blanks removed, letters case-folded.
    static QString normalized(const QString& text);
    // Compares without stopping at the first difference, so the time tells nothing.
    static bool sameBytes(QByteArrayView a, QByteArrayView b);
};

} // namespace quilloa
