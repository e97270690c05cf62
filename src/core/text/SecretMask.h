#pragma once

#include <QString>

namespace quilloa {

// Hides any password a text may quote before it is shown or written anywhere: the value of a
// password keyword (password=…, "password = '…'", ?password=… in a URI), also when the keyword
// is misspelt (pasword, passwort, pwd) or %-escaped, and the password part of a URI's
// user:password@. Whatever the user typed (a misspelt option, a server text with a password in
// it), a message or log line built from it then carries no secret. Every text shown or logged
// that may quote a store text passes through here.
class SecretMask
{
public:
    static QString mask(const QString& text);
    static const QString& hidden();
};

} // namespace quilloa
