#pragma once

#include <QString>

namespace quilloa {

// Where the server's client library looks for the passwords of the user's connections, as the
// program names it to the user and as a path to look at. The library looks elsewhere on Windows
// than on Linux, and a message that names the wrong file sends the clinic looking in vain.
class PasswordFileLocation
{
public:
    // The file as a user writes it down: "~/.pgpass", or "%APPDATA%\postgresql\pgpass.conf".
    static QString shown();
    // The file the library reads: $PGPASSFILE when set, else the platform's own place.
    static QString path();
};

} // namespace quilloa
