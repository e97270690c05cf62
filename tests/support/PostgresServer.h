#pragma once

#include <QProcess>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace quilloa::test {

// A throwaway PostgreSQL server of the test's own: a fresh cluster in a temporary folder,
// reachable only through a Unix socket in that folder, so any number of them run side by side
// and none touches a server the machine may already have. When the tests run as root (as CI
// does) the server runs as "nobody", because PostgreSQL refuses to run as root.
//
//   PostgresServer server;
//   QVERIFY2(server.start(), qPrintable(server.errorString()));
//   const QString db = server.createDatabase();
//   openStore(server.connectionText(db));   // or server.uri(db)
//
// The server is stopped when the object goes (immediate shutdown), and killed by the kernel if
// the test process dies first.
class PostgresServer
{
public:
    static constexpr int Port = 5432;
    static inline const QString SuperUser = QStringLiteral("quilloa");

    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // The first start creates the cluster; later starts reuse it with its databases.
    bool start();
    bool stop();
    bool restart() { return stop() && start(); }
    bool isRunning() const;
    qint64 processId() const { return m_postmaster.processId(); }

    // Why the last start(), stop() or createDatabase() failed, with the server's log tail.
    QString errorString() const { return m_error; }

    // A new empty database; with no name, one that no earlier call on this server used.
    // `options` follow the name in CREATE DATABASE (an encoding, a locale), written by the test.
    // Returns the name, or an empty string on failure.
    QString createDatabase(const QString& name = {}, const QString& options = {});

    // libpq key/value text and the same as a URI, for the program's store location.
    QString connectionText(const QString& database) const;
    QString uri(const QString& database) const;

    // A QPSQL connection (not opened) to one of this server's databases.
    QSqlDatabase addConnection(const QString& connectionName, const QString& database) const;

    QString socketDirectory() const { return m_dir ? m_dir->path() : QString(); }
    // The server's socket file itself, for a relay in front of it.
    QString socketPath() const;
    // Changes a server setting (log_statement, log_min_error_statement…) for every session
    // from now on, as an administrator would with ALTER SYSTEM.
    bool configure(const QString& setting, const QString& value);
    QString logText() const;

    // The server process of the program's one session on `database` (application_name
    // "quilloa"), or 0; and stopping or resuming that process alone, as a backend stuck in the
    // machine's scheduler or swap would be, while the rest of the server answers.
    qint64 programSession(const QString& database);
    static bool pauseProcess(qint64 pid, bool paused);

    // The folder with initdb and postgres, or empty with a reason in *why.
    static QString findServerBinaries(QString* why = nullptr);

private:
    bool prepareFolder();
    bool initCluster();
    bool writeSettings();
    bool waitUntilReady();
    QString dataDirectory() const;
    QString logPath() const;
    QStringList asServerUser(const QString& program, const QStringList& arguments) const;
    bool runToEnd(const QString& program, const QStringList& arguments, QString* output);
    bool fail(const QString& why);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_binDir;
    QProcess m_postmaster;
    bool m_clusterReady = false;
    int m_databases = 0;
    QString m_error;
};

} // namespace quilloa::test
