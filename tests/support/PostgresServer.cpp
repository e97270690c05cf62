#include "support/PostgresServer.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace quilloa::test {

namespace {

constexpr int StartWaitMs = 60000;
constexpr int ToolWaitMs = 120000;
const char* const ServerUser = "nobody";
const char* const ServerGroup = "nogroup";

bool runningAsRoot()
{
    return geteuid() == 0;
}

bool hasServerPrograms(const QString& dir)
{
    if (dir.isEmpty())
        return false;
    const QFileInfo initdb(dir + QStringLiteral("/initdb"));
    const QFileInfo postgres(dir + QStringLiteral("/postgres"));
    return initdb.isExecutable() && postgres.isExecutable();
}

QString pgConfigBinDir()
{
    const QString pgConfig = QStandardPaths::findExecutable(QStringLiteral("pg_config"));
    if (pgConfig.isEmpty())
        return {};
    QProcess process;
    process.start(pgConfig, {QStringLiteral("--bindir")});
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// Debian keeps initdb and postgres out of PATH, one folder per major version; the newest wins.
QStringList debianBinDirs()
{
    QDir root(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(),
              [&](const QString& a, const QString& b) { return numeric.compare(a, b) > 0; });
    QStringList dirs;
    for (const QString& version : versions)
        dirs << root.filePath(version + QStringLiteral("/bin"));
    return dirs;
}

QString tail(const QString& text, qsizetype chars)
{
    return text.size() > chars ? text.right(chars) : text;
}

} // namespace

PostgresServer::PostgresServer() = default;

PostgresServer::~PostgresServer()
{
    if (!isRunning())
        return;
    // Immediate shutdown: the cluster is thrown away, so there is nothing to write back.
    ::kill(static_cast<pid_t>(m_postmaster.processId()), SIGQUIT);
    if (!m_postmaster.waitForFinished(10000))
        m_postmaster.kill();
    m_postmaster.waitForFinished(5000);
}

QString PostgresServer::findServerBinaries(QString* why)
{
    QStringList candidates{pgConfigBinDir()};
    candidates << debianBinDirs();
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    if (!onPath.isEmpty())
        candidates << QFileInfo(onPath).canonicalPath();
    for (const QString& dir : candidates) {
        if (hasServerPrograms(dir))
            return dir;
    }
    if (why) {
        *why = QStringLiteral("The PostgreSQL server binaries (initdb, postgres) are missing; "
                              "`make` installs them (Debian package postgresql).");
    }
    return {};
}

bool PostgresServer::start()
{
    if (isRunning())
        return true;
    m_error.clear();
    if (m_binDir.isEmpty()) {
        QString why;
        m_binDir = findServerBinaries(&why);
        if (m_binDir.isEmpty())
            return fail(why);
    }
    if (!m_dir && !prepareFolder())
        return false;
    if (!m_clusterReady && !(initCluster() && writeSettings()))
        return false;

    const QStringList command = asServerUser(m_binDir + QStringLiteral("/postgres"),
                                             {QStringLiteral("-D"), dataDirectory()});
    m_postmaster.setProgram(command.first());
    m_postmaster.setArguments(command.mid(1));
    m_postmaster.setWorkingDirectory(m_dir->path());
    // The log goes to a file: a pipe nobody reads would stall the server once it is full.
    m_postmaster.setStandardOutputFile(logPath(), QIODevice::Append);
    m_postmaster.setStandardErrorFile(logPath(), QIODevice::Append);
    m_postmaster.start();
    if (!m_postmaster.waitForStarted(10000))
        return fail(QStringLiteral("The PostgreSQL server did not start: %1")
                        .arg(m_postmaster.errorString()));
    return waitUntilReady();
}

bool PostgresServer::stop()
{
    if (!isRunning())
        return true;
    // Fast shutdown: open sessions are cut off, as when a server is taken down under a program.
    ::kill(static_cast<pid_t>(m_postmaster.processId()), SIGINT);
    if (m_postmaster.waitForFinished(30000))
        return true;
    m_postmaster.kill();
    m_postmaster.waitForFinished(5000);
    return fail(QStringLiteral("The PostgreSQL server did not stop within 30 s; it was killed."));
}

bool PostgresServer::isRunning() const
{
    return m_postmaster.state() != QProcess::NotRunning;
}

QString PostgresServer::createDatabase(const QString& name, const QString& options)
{
    static const QRegularExpression plainName(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    const QString database = name.isEmpty() ? QStringLiteral("test_%1").arg(++m_databases) : name;
    if (!plainName.match(database).hasMatch()) {
        fail(QStringLiteral("Database name '%1' is not a plain lower-case name.").arg(database));
        return {};
    }
    if (!isRunning()) {
        fail(QStringLiteral("createDatabase() needs a running server."));
        return {};
    }
    const QString connectionName = QStringLiteral("quilloa-test-admin-%1").arg(database);
    bool created = false;
    {
        QSqlDatabase admin = addConnection(connectionName, QStringLiteral("postgres"));
        if (!admin.isValid()) {
            fail(QStringLiteral("Qt's PostgreSQL driver QPSQL is missing; `make` installs it "
                                "(Debian package libqt6sql6-psql)."));
        } else if (!admin.open()) {
            fail(QStringLiteral("Could not connect to the test server: %1")
                     .arg(admin.lastError().text()));
        } else {
            // A name cannot be a bound value; it was checked against plainName above.
            QSqlQuery query(admin);
            created =
                query.exec(QStringLiteral("CREATE DATABASE \"%1\" %2").arg(database, options));
            if (!created)
                fail(QStringLiteral("CREATE DATABASE %1 failed: %2")
                         .arg(database, query.lastError().text()));
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return created ? database : QString();
}

QString PostgresServer::connectionText(const QString& database) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
        .arg(socketDirectory())
        .arg(Port)
        .arg(database, SuperUser);
}

QString PostgresServer::uri(const QString& database) const
{
    // Put together piece by piece: the encoded folder holds "%2F", which arg() would take for
    // a place marker.
    const QString host = QString::fromLatin1(QUrl::toPercentEncoding(socketDirectory()));
    return QStringLiteral("postgresql://") + SuperUser + QStringLiteral("@/") + database +
           QStringLiteral("?host=") + host + QStringLiteral("&port=") + QString::number(Port);
}

QSqlDatabase PostgresServer::addConnection(const QString& connectionName,
                                           const QString& database) const
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(socketDirectory());
    db.setPort(Port);
    db.setDatabaseName(database);
    db.setUserName(SuperUser);
    return db;
}

QString PostgresServer::socketPath() const
{
    return socketDirectory() + QStringLiteral("/.s.PGSQL.%1").arg(Port);
}

bool PostgresServer::configure(const QString& setting, const QString& value)
{
    const QString connectionName = QStringLiteral("quilloa-test-configure");
    bool done = false;
    {
        QSqlDatabase admin = addConnection(connectionName, QStringLiteral("postgres"));
        QSqlQuery query(admin);
        // The setting's name is the test's own; the value is quoted as a literal.
        done = admin.open() &&
               query.exec(QStringLiteral("ALTER SYSTEM SET %1 = '%2'")
                              .arg(setting, QString(value).replace(u'\'', QStringLiteral("''")))) &&
               query.exec(QStringLiteral("SELECT pg_reload_conf()"));
        if (!done)
            fail(QStringLiteral("ALTER SYSTEM SET %1 failed: %2")
                     .arg(setting, query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(connectionName);
    return done;
}

qint64 PostgresServer::programSession(const QString& database)
{
    const QString connectionName = QStringLiteral("quilloa-test-session");
    qint64 pid = 0;
    {
        QSqlDatabase admin = addConnection(connectionName, database);
        QSqlQuery query(admin);
        if (admin.open() &&
            query.exec(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE "
                                      "application_name = 'quilloa' AND "
                                      "datname = current_database()")) &&
            query.next())
            pid = query.value(0).toLongLong();
        if (pid == 0 || query.next()) {
            pid = 0;
            fail(QStringLiteral("not exactly one session of the program"));
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    return pid;
}

bool PostgresServer::pauseProcess(qint64 pid, bool paused)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), paused ? SIGSTOP : SIGCONT) == 0;
}

QString PostgresServer::logText() const
{
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll());
}

bool PostgresServer::prepareFolder()
{
    // /tmp rather than TMPDIR when root: the server user must reach the folder, and the socket
    // path must stay under the 107 bytes a Unix socket name allows.
    // A long TMPDIR would not leave room for the socket's name.
    const bool shortTemp = QFile::encodeName(QDir::tempPath()).size() <= 60;
    const QString base = runningAsRoot() || !shortTemp ? QStringLiteral("/tmp") : QDir::tempPath();
    m_dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/quilloa-pg-XXXXXX"));
    if (!m_dir->isValid())
        return fail(QStringLiteral("Could not create a temporary folder for the test server: %1")
                        .arg(m_dir->errorString()));
    if (!runningAsRoot())
        return true;
    const passwd* user = getpwnam(ServerUser);
    const group* grp = getgrnam(ServerGroup);
    if (!user || !grp)
        return fail(QStringLiteral("Running as root, but there is no user '%1' / group '%2' "
                                   "to run the PostgreSQL server as.")
                        .arg(QLatin1String(ServerUser), QLatin1String(ServerGroup)));
    if (::chown(QFile::encodeName(m_dir->path()).constData(), user->pw_uid, grp->gr_gid) != 0)
        return fail(QStringLiteral("Could not hand the test server's folder to '%1'.")
                        .arg(QLatin1String(ServerUser)));
    return true;
}

bool PostgresServer::initCluster()
{
    QString output;
    const QStringList command =
        asServerUser(m_binDir + QStringLiteral("/initdb"),
                     {QStringLiteral("-D"), dataDirectory(), QStringLiteral("-U"), SuperUser,
                      QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                      // C: case folding and ordering by code point, as in the embedded store.
                      QStringLiteral("--locale=C"), QStringLiteral("--no-sync")});
    if (!runToEnd(command.first(), command.mid(1), &output))
        return fail(QStringLiteral("initdb failed:\n%1").arg(tail(output, 3000)));
    m_clusterReady = true;
    return true;
}

bool PostgresServer::writeSettings()
{
    QFile conf(dataDirectory() + QStringLiteral("/postgresql.conf"));
    if (!conf.open(QIODevice::Append | QIODevice::Text))
        return fail(QStringLiteral("Could not write %1.").arg(conf.fileName()));
    // No TCP at all; the socket lives in the folder, so the fixed port cannot clash. A test
    // cluster is thrown away, so it need not survive a power cut (fsync off).
    const QString settings = QStringLiteral("\nlisten_addresses = ''\n"
                                            "unix_socket_directories = '%1'\n"
                                            "port = %2\n"
                                            "max_connections = 50\n"
                                            "shared_buffers = 16MB\n"
                                            "fsync = off\n"
                                            "synchronous_commit = off\n"
                                            "full_page_writes = off\n")
                                 .arg(m_dir->path())
                                 .arg(Port);
    conf.write(settings.toUtf8());
    return conf.flush() || fail(QStringLiteral("Could not write %1.").arg(conf.fileName()));
}

bool PostgresServer::waitUntilReady()
{
    // The server marks its pid file "ready" once it accepts connections; the pid check keeps a
    // pid file left by a killed server from counting.
    const QString pid = QString::number(m_postmaster.processId());
    for (int waited = 0; waited < StartWaitMs; waited += 20) {
        if (m_postmaster.waitForFinished(20) || !isRunning())
            return fail(QStringLiteral("The PostgreSQL server stopped while starting:\n%1")
                            .arg(tail(logText(), 3000)));
        QFile pidFile(dataDirectory() + QStringLiteral("/postmaster.pid"));
        if (!pidFile.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromLocal8Bit(pidFile.readAll()).split(u'\n');
        if (lines.size() >= 8 && lines[0].trimmed() == pid && lines[7].trimmed() == u"ready")
            return true;
    }
    stop();
    return fail(QStringLiteral("The PostgreSQL server was not ready after %1 s:\n%2")
                    .arg(StartWaitMs / 1000)
                    .arg(tail(logText(), 3000)));
}

QString PostgresServer::dataDirectory() const
{
    return m_dir->path() + QStringLiteral("/data");
}

QString PostgresServer::logPath() const
{
    return m_dir ? m_dir->path() + QStringLiteral("/server.log") : QString();
}

QStringList PostgresServer::asServerUser(const QString& program, const QStringList& arguments) const
{
    // setpriv execs the program, so its pid is the server's; the parent-death signal takes the
    // server down with a test that crashes instead of leaving it running.
    QStringList command{QStringLiteral("setpriv")};
    if (runningAsRoot()) {
        command << QStringLiteral("--reuid=%1").arg(QLatin1String(ServerUser))
                << QStringLiteral("--regid=%1").arg(QLatin1String(ServerGroup))
                << QStringLiteral("--clear-groups");
    }
    command << QStringLiteral("--pdeathsig") << QStringLiteral("KILL") << QStringLiteral("--")
            << program << arguments;
    return command;
}

bool PostgresServer::runToEnd(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(m_dir->path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    const bool finished = process.waitForFinished(ToolWaitMs);
    *output = QString::fromLocal8Bit(process.readAll());
    const bool ok =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok)
        *output += u'\n' + process.errorString();
    if (!finished)
        process.kill();
    return ok;
}

bool PostgresServer::fail(const QString& why)
{
    m_error = why;
    return false;
}

} // namespace quilloa::test
