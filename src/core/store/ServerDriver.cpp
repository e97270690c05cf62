#include "core/store/ServerDriver.h"

#include "core/store/ServerResult.h"
#include "core/store/ServerWait.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include <libpq-fe.h>

#include <algorithm>
#include <thread>

Q_DECLARE_OPAQUE_POINTER(PGconn*)
Q_DECLARE_METATYPE(PGconn*)

namespace quilloa {
namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds& limit()
{
    static std::chrono::milliseconds value(10000);
    return value;
}

// After a cancel, the server gets a short while to say that it stopped the statement.
std::chrono::milliseconds cancelGrace()
{
    return std::max(std::chrono::milliseconds(500), limit() / 5);
}

// Unused statements are released a few at a time, so that releasing them costs no round trip of
// its own per statement.
constexpr int kReleaseBatch = 16;

// Keep-alives find a server that vanished from the network while the connection was idle; they
// come first, so that the clinic's own connection words win.
const char* const kKeepAlives = "keepalives=1 keepalives_idle=5 keepalives_interval=2 "
                                "keepalives_count=3 ";

QString quotedWord(const char* key, const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QString::fromLatin1(key) + QStringLiteral("='") + escaped + QLatin1Char('\'');
}

} // namespace

ServerDriver::ServerDriver() = default;

ServerDriver::~ServerDriver()
{
    if (m_connection)
        PQfinish(m_connection);
}

std::chrono::milliseconds ServerDriver::replyLimit()
{
    return limit();
}

void ServerDriver::setReplyLimit(std::chrono::milliseconds value)
{
    limit() = value;
}

bool ServerDriver::hasFeature(DriverFeature feature) const
{
    switch (feature) {
    case Transactions:
    case QuerySize:
    case PreparedQueries:
    case PositionalPlaceholders:
    case Unicode:
    case LowPrecisionNumbers:
    case EventNotifications:
        return true;
    default:
        return false;
    }
}

bool ServerDriver::open(const QString& db, const QString& user, const QString& password,
                        const QString& host, int port, const QString& options)
{
    close();
    QStringList words;
    if (!host.isEmpty())
        words << quotedWord("host", host);
    if (port >= 0)
        words << quotedWord("port", QString::number(port));
    if (!db.isEmpty())
        words << quotedWord("dbname", db);
    if (!user.isEmpty())
        words << quotedWord("user", user);
    if (!password.isEmpty())
        words << quotedWord("password", password);
    words << options;
    if (!connectWithin(QByteArray(kKeepAlives) + words.join(QLatin1Char(' ')).toUtf8())) {
        setOpenError(true);
        return false;
    }
    setOpen(true);
    setOpenError(false);
    return true;
}

// Connecting polls too, so that a host that does not answer is given up after the limit
// whatever the system's own connect timeout.
bool ServerDriver::connectWithin(const QByteArray& conninfo)
{
    m_connection = PQconnectStart(conninfo.constData());
    if (!m_connection || PQstatus(m_connection) == CONNECTION_BAD) {
        setLastError(connectionError(QStringLiteral("Unable to connect")));
        drop();
        return false;
    }
    ServerWait wait;
    const auto deadline = Clock::now() + limit();
    PostgresPollingStatusType step = PGRES_POLLING_WRITING;
    while (step != PGRES_POLLING_OK && step != PGRES_POLLING_FAILED) {
        const ServerWait::Ready ready =
            wait.until(PQsocket(m_connection), step == PGRES_POLLING_WRITING, deadline);
        if (ready == ServerWait::Ready::Deadline) {
            setLastError(QSqlError(
                QStringLiteral("the server did not answer within %1 s").arg(limit().count() / 1000),
                QStringLiteral("timeout expired"), QSqlError::ConnectionError,
                QStringLiteral("08001")));
            drop();
            return false;
        }
        step = PQconnectPoll(m_connection);
    }
    if (step == PGRES_POLLING_FAILED) {
        setLastError(connectionError(QStringLiteral("Unable to connect")));
        drop();
        return false;
    }
    // Sending never blocks either: a full socket is waited for like an answer.
    PQsetnonblocking(m_connection, 1);
    return true;
}

void ServerDriver::close()
{
    m_unused.clear();
    m_rowsPending = false;
    if (m_connection) {
        PQfinish(m_connection);
        m_connection = nullptr;
    }
    setOpen(false);
    setOpenError(false);
}

void ServerDriver::drop()
{
    if (m_connection)
        PQfinish(m_connection);
    m_connection = nullptr;
    m_rowsPending = false;
    m_unused.clear();
    if (isOpen())
        setOpen(false);
}

QSqlResult* ServerDriver::createResult() const
{
    return new ServerResult(this);
}

QVariant ServerDriver::handle() const
{
    return QVariant::fromValue(m_connection);
}

QSqlError ServerDriver::connectionError(const QString& what) const
{
    // libpq's own text stays available, so the cause of a failed connection can be told apart.
    const QString text = m_connection ? QString::fromUtf8(PQerrorMessage(m_connection)).trimmed()
                                      : QStringLiteral("out of memory");
    return QSqlError(what, text, QSqlError::ConnectionError, QStringLiteral("08006"));
}

QSqlError ServerDriver::noAnswerError() const
{
    return QSqlError(QStringLiteral("the server did not answer within %1 s; the connection "
                                    "was dropped")
                         .arg(limit().count() / 1000),
                     QString(), QSqlError::StatementError, kNoAnswerState);
}

QSqlError ServerDriver::errorOf(const pg_result* result)
{
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    const QString text =
        primary ? QString::fromUtf8(primary) : QString::fromUtf8(PQresultErrorMessage(result));
    return QSqlError(QStringLiteral("Unable to run the statement"), text.trimmed(),
                     QSqlError::StatementError, state ? QString::fromLatin1(state) : QString());
}

// The statement is cancelled on a connection of its own, so the wait cannot hang on it: the
// cancel runs in a thread of its own that may outlive the call.
void ServerDriver::cancelRunning() const
{
    PGcancel* cancel = PQgetCancel(m_connection);
    if (!cancel)
        return;
    std::thread([cancel] {
        char why[256];
        PQcancel(cancel, why, int(sizeof why));
        PQfreeCancel(cancel);
    }).detach();
}

ServerDriver::Wait ServerDriver::awaitReply()
{
    ServerWait wait;
    auto deadline = Clock::now() + limit();
    bool cancelled = false;
    for (;;) {
        const int flushed = PQflush(m_connection);
        if (flushed < 0)
            return Wait::Lost;
        if (flushed == 0 && !PQisBusy(m_connection))
            return Wait::Answered;
        const ServerWait::Ready ready = wait.until(PQsocket(m_connection), flushed == 1, deadline);
        if (ready == ServerWait::Ready::Failed)
            return Wait::Lost;
        if (ready == ServerWait::Ready::Socket) {
            if (!PQconsumeInput(m_connection))
                return Wait::Lost;
            // The server is talking: a long read that streams its rows is not cut off.
            if (!cancelled)
                deadline = Clock::now() + limit();
            continue;
        }
        if (cancelled)
            return Wait::TimedOut;
        cancelRunning();
        cancelled = true;
        deadline = Clock::now() + cancelGrace();
    }
}

void ServerDriver::discardRows()
{
    QSqlError ignored;
    while (m_rowsPending) {
        PGresult* rest = next(&ignored);
        if (!rest)
            break;
        PQclear(rest);
    }
}

pg_result* ServerDriver::run(const std::function<int(pg_conn*)>& send, QSqlError* error,
                             bool oneRowAtATime)
{
    if (m_inCall) {
        // A timer that fired while the window repainted during a wait must not start a second
        // command on a connection that is still waiting for the first.
        *error = QSqlError(QStringLiteral("the connection is busy with another call"), QString(),
                           QSqlError::StatementError, QStringLiteral("55006"));
        return nullptr;
    }
    if (!m_connection) {
        *error = QSqlError(QStringLiteral("the connection was closed"), QString(),
                           QSqlError::ConnectionError, QStringLiteral("08003"));
        return nullptr;
    }
    discardRows();
    releaseUnused();
    if (!m_connection) {
        *error = connectionError(QStringLiteral("Unable to send the statement"));
        return nullptr;
    }
    ++m_command;
    if (!send(m_connection)) {
        *error = connectionError(QStringLiteral("Unable to send the statement"));
        return nullptr;
    }
    if (oneRowAtATime && PQsetSingleRowMode(m_connection)) {
        m_rowsPending = true;
        return next(error);
    }
    m_inCall = true;
    PGresult* kept = nullptr;
    for (;;) {
        const Wait waited = awaitReply();
        if (waited != Wait::Answered) {
            PQclear(kept);
            *error = waited == Wait::TimedOut
                         ? noAnswerError()
                         : connectionError(QStringLiteral("Unable to read the answer"));
            if (waited == Wait::TimedOut)
                drop();
            m_inCall = false;
            return nullptr;
        }
        PGresult* result = PQgetResult(m_connection);
        if (!result)
            break;
        const ExecStatusType status = PQresultStatus(result);
        if (kept && PQresultStatus(kept) == PGRES_FATAL_ERROR) {
            PQclear(result);
        } else {
            PQclear(kept);
            kept = result;
        }
        // The program sends no COPY; a server asking for one is answered by closing.
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH) {
            drop();
            break;
        }
    }
    m_inCall = false;
    if (!kept)
        *error = connectionError(QStringLiteral("Unable to read the answer"));
    return kept;
}

pg_result* ServerDriver::next(QSqlError* error)
{
    if (!m_rowsPending || !m_connection)
        return nullptr;
    m_inCall = true;
    const Wait waited = awaitReply();
    m_inCall = false;
    if (waited != Wait::Answered) {
        *error = waited == Wait::TimedOut
                     ? noAnswerError()
                     : connectionError(QStringLiteral("Unable to read the answer"));
        drop();
        return nullptr;
    }
    PGresult* result = PQgetResult(m_connection);
    if (!result) {
        m_rowsPending = false;
        return nullptr;
    }
    if (PQresultStatus(result) != PGRES_SINGLE_TUPLE) {
        // The end of the rows or a failure: nothing more follows but the command's end.
        m_rowsPending = false;
        m_inCall = true;
        for (;;) {
            if (awaitReply() != Wait::Answered) {
                drop();
                break;
            }
            PGresult* rest = PQgetResult(m_connection);
            if (!rest)
                break;
            PQclear(rest);
        }
        m_inCall = false;
    }
    return result;
}

QByteArray ServerDriver::newStatementName()
{
    return QByteArrayLiteral("quilloa_") + QByteArray::number(++m_statements);
}

void ServerDriver::statementUnused(const QByteArray& name)
{
    if (m_connection)
        m_unused << name;
}

void ServerDriver::releaseUnused()
{
    if (m_unused.size() < kReleaseBatch)
        return;
    QByteArray sql;
    for (const QByteArray& name : std::as_const(m_unused))
        sql += QByteArrayLiteral("DEALLOCATE ") + name + ';';
    m_unused.clear();
    QSqlError ignored;
    PQclear(run([&sql](PGconn* c) { return PQsendQuery(c, sql.constData()); }, &ignored));
}

bool ServerDriver::command(const char* sql)
{
    QSqlError error;
    PGresult* result = run([sql](PGconn* c) { return PQsendQuery(c, sql); }, &error);
    // A COMMIT of a transaction that had failed answers ROLLBACK.
    const bool rolledBack =
        result && qstrcmp(sql, "COMMIT") == 0 && qstrcmp(PQcmdStatus(result), "ROLLBACK") == 0;
    const bool ok = result && PQresultStatus(result) == PGRES_COMMAND_OK && !rolledBack;
    if (result && PQresultStatus(result) == PGRES_FATAL_ERROR)
        error = errorOf(result);
    else if (result && !ok)
        error = QSqlError(QStringLiteral("the transaction was rolled back"), QString(),
                          QSqlError::TransactionError, QStringLiteral("40000"));
    PQclear(result);
    if (!ok)
        setLastError(error);
    return ok;
}

QSqlRecord ServerDriver::record(const QString& table) const
{
    QSqlQuery query(createResult());
    if (!query.exec(
            QStringLiteral("SELECT * FROM %1 WHERE false").arg(escapeIdentifier(table, TableName))))
        return QSqlRecord();
    return query.record();
}

QString ServerDriver::escapeIdentifier(const QString& identifier, IdentifierType type) const
{
    if (isIdentifierEscaped(identifier, type))
        return identifier;
    return QLatin1Char('"') +
           QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

bool ServerDriver::beginTransaction()
{
    return command("BEGIN");
}

bool ServerDriver::commitTransaction()
{
    return command("COMMIT");
}

bool ServerDriver::rollbackTransaction()
{
    return command("ROLLBACK");
}

} // namespace quilloa
