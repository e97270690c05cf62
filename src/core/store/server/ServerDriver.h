#pragma once

#include "core/store/server/ServerCalls.h"

#include <QByteArray>
#include <QList>
#include <QSqlDriver>
#include <QSqlError>

#include <chrono>
#include <functional>
#include <optional>

struct pg_conn;
struct pg_result;

namespace quilloa {

// The server store's own connection to PostgreSQL, through libpq. Values travel as protocol
// parameters, never inside the statement text, so neither the server's log nor its list of
// sessions shows a patient's data; and no call waits without a limit: the socket is polled in
// short slices (the window keeps painting, see ServerWait), a statement the server does not
// answer in time is cancelled, and a connection that stays silent after that is dropped, so the
// next call connects afresh.
class ServerDriver : public QSqlDriver, public ServerCalls
{
public:
    // The SQLSTATE a call reports when the server did not answer within the limit.
    static inline const QString kNoAnswerState = QStringLiteral("57014");

    ServerDriver();
    ~ServerDriver() override;

    bool hasFeature(DriverFeature feature) const override;
    bool open(const QString& db, const QString& user, const QString& password, const QString& host,
              int port, const QString& options) override;
    void close() override;
    QSqlResult* createResult() const override;
    // The libpq connection, as "PGconn*"; null once the connection was dropped.
    QVariant handle() const override;
    bool beginTransaction() override;
    bool commitTransaction() override;
    bool rollbackTransaction() override;
    // The columns of a table, as a statement reading it names them.
    QSqlRecord record(const QString& table) const override;
    QString escapeIdentifier(const QString& identifier, IdentifierType type) const override;

    pg_conn* connection() const { return m_connection; }

    // Starts one command with `send` and waits for its outcome. Without `oneRowAtATime` every
    // result of the command is read and the last one (or the first failure) comes back; with
    // it, the first row (or the end) comes back and next() hands out the rest. None when the
    // call failed; `error` then says why.
    pg_result* run(const std::function<int(pg_conn*)>& send, QSqlError* error,
                   bool oneRowAtATime) override;
    pg_result* run(const std::function<int(pg_conn*)>& send, QSqlError* error)
    {
        return run(send, error, false);
    }
    pg_result* next(QSqlError* error) override;
    // Runs `sql`, a COPY … TO STDOUT, handing its data to `take` piece by piece as it arrives;
    // `take` returns false to break off, which drops the connection. The rows the server says
    // it sent, or none when the command failed (`error` then says why). A server that falls
    // silent is given up after the limit, as any call.
    using CopyTaker = std::function<bool(QByteArrayView data)>;
    std::optional<qint64> copyOut(const QByteArray& sql, const CopyTaker& take, QSqlError* error);
    quint64 currentCommand() const override { return m_command; }
    bool rowsPending() const override { return m_rowsPending; }
    void discardRows() override;
    QByteArray newStatementName() override;
    void statementUnused(const QByteArray& name) override;

    // How long a call waits for any answer (10 s); tests shorten it. The server-side statement
    // and lock limits of a session follow from it.
    static std::chrono::milliseconds replyLimit();
    static void setReplyLimit(std::chrono::milliseconds limit);

    // While one lives, every call of this thread, connecting included, gives up at `until` at
    // the latest, with no grace for a cancel: an operation made of several calls (a save that
    // may have to find out what became of itself) keeps one limit as the user sees it. Nested
    // ones keep the earlier end.
    class Deadline
    {
    public:
        explicit Deadline(std::chrono::steady_clock::time_point until);
        ~Deadline();
        Deadline(const Deadline&) = delete;
        Deadline& operator=(const Deadline&) = delete;
        // How long is left of the nearest one; the reply limit when none lives.
        [[nodiscard]] static std::chrono::milliseconds left();

    private:
        std::optional<std::chrono::steady_clock::time_point> m_previous;
    };

private:
    enum class Wait
    {
        Answered,
        Lost,
        TimedOut,
    };
    // With `anyInput`, returns as soon as new input was read rather than at a whole answer.
    Wait awaitReply(bool anyInput = false);
    bool start(const std::function<int(pg_conn*)>& send, QSqlError* error);
    pg_result* nextResult(QSqlError* error, bool* ended);
    // Reads every result of the command under way; the last one, or the first failure.
    pg_result* collect(QSqlError* error);
    bool copyData(const CopyTaker& take, QSqlError* error);
    bool connectWithin(const QByteArray& conninfo);
    void cancelRunning() const;
    void drop();
    void releaseUnused();
    bool command(const char* sql);
    QSqlError connectionError(const QString& what) const;
    QSqlError noAnswerError() const;

    pg_conn* m_connection = nullptr;
    quint64 m_command = 0;
    bool m_rowsPending = false;
    bool m_inCall = false;
    int m_statements = 0;
    QList<QByteArray> m_unused;
};

} // namespace quilloa
