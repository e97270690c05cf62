#include "core/store/server/ServerDriver.h"

#include "core/store/server/ServerResult.h"
#include "core/store/server/ServerWait.h"

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

std::optional<Clock::time_point>& callsEnd()
{
    thread_local std::optional<Clock::time_point> end;
    return end;
}

// A call's own deadline from now, cut to the operation's end; whether the end cut it.
Clock::time_point deadlineFrom(Clock::time_point now, bool* cut = nullptr)
{
    const Clock::time_point own = now + limit();
    const bool earlier = callsEnd() && *callsEnd() < own;
    if (cut)
        *cut = earlier;
    return earlier ? *callsEnd() : own;
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

ServerDriver::Deadline::Deadline(Clock::time_point until) : m_previous(callsEnd())
{
    callsEnd() = m_previous ? std::min(*m_previous, until) : until;
}

ServerDriver::Deadline::~Deadline()
{
    callsEnd() = m_previous;
}

std::chrono::milliseconds ServerDriver::Deadline::left()
{
    if (!callsEnd())
        return limit();
    const auto rest = *callsEnd() - Clock::now();
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::duration_cast<std::chrono::milliseconds>(rest));
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
    const auto deadline = deadlineFrom(Clock::now());
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
    // The server's notices (a session that did not end in time…) are not for the terminal.
    PQsetNoticeProcessor(
        m_connection, [](void*, const char*) {}, nullptr);
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
    return new ServerResult(this, const_cast<ServerDriver*>(this));
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

ServerDriver::Wait ServerDriver::awaitReply(bool anyInput)
{
    ServerWait wait;
    bool cut = false;
    auto deadline = deadlineFrom(Clock::now(), &cut);
    bool cancelled = false;
    for (;;) {
        const int flushed = PQflush(m_connection);
        if (flushed < 0)
            return Wait::Lost;
        // While rows are copied out the connection never counts as busy: only new input
        // tells that the server went on.
        if (flushed == 0 && !anyInput && !PQisBusy(m_connection))
            return Wait::Answered;
        const ServerWait::Ready ready = wait.until(PQsocket(m_connection), flushed == 1, deadline);
        if (ready == ServerWait::Ready::Failed)
            return Wait::Lost;
        if (ready == ServerWait::Ready::Socket) {
            if (!PQconsumeInput(m_connection))
                return Wait::Lost;
            if (anyInput && flushed == 0)
                return Wait::Answered;
            // The server is talking: a long read that streams its rows is not cut off.
            if (!cancelled)
                deadline = deadlineFrom(Clock::now(), &cut);
            continue;
        }
        if (cancelled)
            return Wait::TimedOut;
        cancelRunning();
        // The operation's end allows no grace: what the statement did is found out otherwise.
        if (cut)
            return Wait::TimedOut;
        cancelled = true;
        deadline = Clock::now() + cancelGrace();
        if (callsEnd() && *callsEnd() < deadline)
            deadline = *callsEnd();
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

bool ServerDriver::start(const std::function<int(pg_conn*)>& send, QSqlError* error)
{
    if (m_inCall) {
        // A timer that fired while the window repainted during a wait must not start a second
        // command on a connection that is still waiting for the first.
        *error = QSqlError(QStringLiteral("the connection is busy with another call"), QString(),
                           QSqlError::StatementError, QStringLiteral("55006"));
        return false;
    }
    if (!m_connection) {
        *error = QSqlError(QStringLiteral("the connection was closed"), QString(),
                           QSqlError::ConnectionError, QStringLiteral("08003"));
        return false;
    }
    discardRows();
    releaseUnused();
    if (!m_connection) {
        *error = connectionError(QStringLiteral("Unable to send the statement"));
        return false;
    }
    ++m_command;
    if (!send(m_connection)) {
        *error = connectionError(QStringLiteral("Unable to send the statement"));
        return false;
    }
    return true;
}

pg_result* ServerDriver::run(const std::function<int(pg_conn*)>& send, QSqlError* error,
                             bool oneRowAtATime)
{
    if (!start(send, error))
        return nullptr;
    if (oneRowAtATime && PQsetSingleRowMode(m_connection)) {
        m_rowsPending = true;
        return next(error);
    }
    m_inCall = true;
    PGresult* kept = collect(error);
    m_inCall = false;
    return kept;
}

PGresult* ServerDriver::nextResult(QSqlError* error, bool* ended)
{
    *ended = false;
    const Wait waited = awaitReply();
    if (waited == Wait::Answered) {
        PGresult* result = PQgetResult(m_connection);
        *ended = !result;
        return result;
    }
    *error = waited == Wait::TimedOut
                 ? noAnswerError()
                 : connectionError(QStringLiteral("Unable to read the answer"));
    if (waited == Wait::TimedOut)
        drop();
    return nullptr;
}

PGresult* ServerDriver::collect(QSqlError* error)
{
    PGresult* kept = nullptr;
    for (;;) {
        bool ended = false;
        PGresult* result = nextResult(error, &ended);
        if (!result && !ended) {
            PQclear(kept);
            return nullptr;
        }
        if (!result)
            break;
        const ExecStatusType status = PQresultStatus(result);
        if (kept && PQresultStatus(kept) == PGRES_FATAL_ERROR) {
            PQclear(result);
        } else {
            PQclear(kept);
            kept = result;
        }
        // A statement run here sends no COPY; a server asking for one is answered by closing.
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH) {
            drop();
            break;
        }
    }
    if (!kept)
        *error = connectionError(QStringLiteral("Unable to read the answer"));
    return kept;
}

std::optional<qint64> ServerDriver::copyOut(const QByteArray& sql, const CopyTaker& take,
                                            QSqlError* error)
{
    if (!start([&sql](PGconn* c) { return PQsendQuery(c, sql.constData()); }, error))
        return std::nullopt;
    m_inCall = true;
    bool ended = false;
    PGresult* begun = nextResult(error, &ended);
    const bool copying = begun && PQresultStatus(begun) == PGRES_COPY_OUT;
    if (begun && !copying) {
        *error = PQresultStatus(begun) == PGRES_FATAL_ERROR
                     ? errorOf(begun)
                     : QSqlError(QStringLiteral("the statement sent no rows to copy"), QString(),
                                 QSqlError::StatementError, QStringLiteral("0A000"));
        QSqlError rest;
        PQclear(collect(&rest));
    } else if (!begun && ended) {
        *error = connectionError(QStringLiteral("Unable to read the answer"));
    }
    PQclear(begun);
    std::optional<qint64> rows;
    if (copying && copyData(take, error)) {
        PGresult* done = collect(error);
        if (done && PQresultStatus(done) == PGRES_COMMAND_OK)
            rows = QByteArray(PQcmdTuples(done)).toLongLong();
        else if (done)
            *error = errorOf(done);
        PQclear(done);
    }
    m_inCall = false;
    return rows;
}

// PQgetCopyData hands out one whole message at a time; while none is complete, the socket is
// waited for like any answer, so a server that falls silent halfway is cut off at the limit.
bool ServerDriver::copyData(const CopyTaker& take, QSqlError* error)
{
    for (;;) {
        char* data = nullptr;
        const int size = PQgetCopyData(m_connection, &data, 1);
        if (size > 0) {
            const bool taken = take(QByteArrayView(data, size));
            PQfreemem(data);
            if (taken)
                continue;
            // Nothing tells a server to stop sending but a cancel: the connection goes instead.
            *error = QSqlError(QStringLiteral("the copy was broken off"), QString(),
                               QSqlError::StatementError);
            drop();
            return false;
        }
        if (size == -1)
            return true;
        if (size < -1) {
            *error = connectionError(QStringLiteral("Unable to read the answer"));
            drop();
            return false;
        }
        const Wait waited = awaitReply(true);
        if (waited == Wait::Answered)
            continue;
        *error = waited == Wait::TimedOut
                     ? noAnswerError()
                     : connectionError(QStringLiteral("Unable to read the answer"));
        drop();
        return false;
    }
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
