#pragma once

#include <QByteArray>
#include <QSqlError>

#include <functional>

struct pg_conn;
struct pg_result;

namespace quilloa {

// What a statement on the server asks of its connection. The connection makes its statements
// and the statements call back into it; through this the two stay apart, each readable and
// built on its own.
class ServerCalls
{
public:
    // Starts one command with `send` and waits for its outcome (see ServerDriver::run).
    virtual pg_result* run(const std::function<int(pg_conn*)>& send, QSqlError* error,
                           bool oneRowAtATime) = 0;
    // The next result of a command started one row at a time; none at its end or on failure.
    virtual pg_result* next(QSqlError* error) = 0;
    // Which command started last: a reader that is no longer the running one was cut short.
    virtual quint64 currentCommand() const = 0;
    virtual bool rowsPending() const = 0;
    // Reads and drops the rows a command started one row at a time still has to send.
    virtual void discardRows() = 0;
    // Names for statements kept on the server, and their release once unused.
    virtual QByteArray newStatementName() = 0;
    virtual void statementUnused(const QByteArray& name) = 0;

    // The server's failure as the program sorts it: the SQLSTATE as native code, the primary
    // message as the database's text (never the failing row's values).
    static QSqlError errorOf(const pg_result* result);

protected:
    ServerCalls() = default;
    ~ServerCalls() = default;
    ServerCalls(const ServerCalls&) = delete;
    ServerCalls& operator=(const ServerCalls&) = delete;
};

} // namespace quilloa
