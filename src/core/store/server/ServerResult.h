#pragma once

#include <QByteArray>
#include <QSqlResult>

struct pg_result;

namespace quilloa {

class ServerCalls;

// One statement on a ServerDriver connection. A prepared statement is kept on the server under a
// name of its own and run with its values as parameters ("?" and named placeholders become $n);
// a statement run as text carries no values. Rows come back whole, or one at a time for a
// forward-only read (a backup export), and each value as the QVariant its column's type gives.
class ServerResult : public QSqlResult
{
public:
    // `calls` is `driver` itself, seen as the connection its statements call back into.
    ServerResult(const QSqlDriver* driver, ServerCalls* calls);
    ~ServerResult() override;
    ServerResult(const ServerResult&) = delete;
    ServerResult& operator=(const ServerResult&) = delete;

    QVariant handle() const override;

    // `sql` with every "?" outside quotes and comments numbered as $1, $2, …; `count` gets how
    // many there were.
    static QByteArray numbered(const QString& sql, int* count);

protected:
    QVariant data(int field) override;
    bool isNull(int field) override;
    bool reset(const QString& query) override;
    bool fetch(int row) override;
    bool fetchNext() override;
    bool fetchFirst() override;
    bool fetchLast() override;
    int size() override;
    int numRowsAffected() override;
    QSqlRecord record() const override;
    bool prepare(const QString& query) override;
    bool exec() override;
    void detachFromResultSet() override;

private:
    ServerCalls* server() const;
    bool take(pg_result* result, const QSqlError& error);
    void clearRows();
    bool streaming() const { return m_command != 0; }
    int currentRow() const { return streaming() ? 0 : at(); }

    pg_result* m_result = nullptr;
    QByteArray m_statement;
    bool m_firstRowWaiting = false;
    ServerCalls* m_calls;
    quint64 m_command = 0; // the command whose rows come one at a time, or 0
};

} // namespace quilloa
