#include "core/store/server/PasswordFileLocation.h"

#include <QDir>

namespace quilloa {

// On Windows the client library reads pgpass.conf in the user's roaming application data.
QString PasswordFileLocation::shown()
{
    return QStringLiteral("%APPDATA%\\postgresql\\pgpass.conf");
}

QString PasswordFileLocation::path()
{
    const QString chosen = qEnvironmentVariable("PGPASSFILE");
    if (!chosen.isEmpty())
        return chosen;
    return QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) +
           QStringLiteral("/postgresql/pgpass.conf");
}

} // namespace quilloa
