#include "core/store/server/PasswordFileLocation.h"

#include <QDir>

namespace quilloa {

QString PasswordFileLocation::shown()
{
    return QStringLiteral("~/.pgpass");
}

QString PasswordFileLocation::path()
{
    const QString chosen = qEnvironmentVariable("PGPASSFILE");
    return chosen.isEmpty() ? QDir::homePath() + QStringLiteral("/.pgpass") : chosen;
}

} // namespace quilloa
