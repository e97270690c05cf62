#include "support/PostgresServer.h"

// The Windows build has the PostgreSQL client (libpq, Qt's QPSQL driver) but no server
// programs of its own to start: every server test says so and skips, as on a Linux machine
// without the postgresql package.

namespace quilloa::test {

namespace {

const QString kNoServer = QStringLiteral(
    "No PostgreSQL server programs in the Windows build; the server suites run on Linux.");

} // namespace

PostgresServer::PostgresServer() = default;
PostgresServer::~PostgresServer() = default;

QString PostgresServer::findServerBinaries(QString* why)
{
    if (why)
        *why = kNoServer;
    return {};
}

bool PostgresServer::start()
{
    return fail(kNoServer);
}

bool PostgresServer::stop()
{
    return true;
}

bool PostgresServer::isRunning() const
{
    return false;
}

QString PostgresServer::createDatabase(const QString&, const QString&)
{
    fail(kNoServer);
    return {};
}

QString PostgresServer::connectionText(const QString&) const
{
    return {};
}

QString PostgresServer::uri(const QString&) const
{
    return {};
}

QString PostgresServer::socketPath() const
{
    return {};
}

bool PostgresServer::configure(const QString&, const QString&)
{
    return fail(kNoServer);
}

QSqlDatabase PostgresServer::addConnection(const QString& connectionName, const QString&) const
{
    return QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
}

qint64 PostgresServer::programSession(const QString&)
{
    fail(kNoServer);
    return 0;
}

bool PostgresServer::pauseProcess(qint64, bool)
{
    return false;
}

QString PostgresServer::logText() const
{
    return {};
}

bool PostgresServer::fail(const QString& why)
{
    m_error = why;
    return false;
}

} // namespace quilloa::test
