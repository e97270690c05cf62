#pragma once

#include <QByteArray>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace quilloa {

// Statements compiled once per held connection and kept for the run, so a lookup that runs at
// every keystroke pays for its query, not for compiling it again. A statement is lent out for
// one operation and always reset when it comes back, so no read stays open between operations.
class PreparedStatements
{
    struct Kept;
    struct KeptDirect;

public:
    // One operation's use of the statement for `sql` on a held connection. When that statement
    // is already lent out (a reader inside a reader), a fresh one serves this lease alone.
    class Lease
    {
    public:
        Lease(const QString& connectionName, const QSqlDatabase& db, const QString& sql);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        // The prepared statement, or none when the text does not compile (see error()).
        QSqlQuery* query();
        const QSqlError& error() const { return m_error; }
        // The statement failed; it is dropped rather than kept.
        void discard() { m_discard = true; }

    private:
        QString m_connectionName;
        QString m_sql;
        std::shared_ptr<Kept> m_kept;
        bool m_discard = false;
        QSqlError m_error;
    };

    // The same for a statement run straight through the SQLite library on a store file's
    // connection (DirectRows): compiled at its first use, then reset and kept.
    class DirectLease
    {
    public:
        DirectLease(const QString& connectionName, sqlite3* db, const QString& sql);
        ~DirectLease();
        DirectLease(const DirectLease&) = delete;
        DirectLease& operator=(const DirectLease&) = delete;

        // The compiled statement, or none when the text does not compile (the library's error
        // stands on the connection).
        sqlite3_stmt* statement() const;
        void discard() { m_discard = true; }

    private:
        QString m_connectionName;
        QString m_sql;
        std::shared_ptr<KeptDirect> m_kept;
        bool m_discard = false;
    };

    // Drops the statements of a connection; called before the connection is closed.
    static void forget(const QString& connectionName);
    // Whether statements on `db` hand out their rows one by one as they are read. A server's
    // driver in that mode keeps the connection busy until the last row, so a read inside a
    // read would cut the outer one short; there the whole result is fetched at once.
    static bool streamsRows(const QSqlDatabase& db);
    // Whether an operation is still walking a statement of this connection.
    static bool inUse(const QString& connectionName);

private:
    // connection name -> query text -> statement. The texts are the program's own (values are
    // bound), so each connection keeps a few dozen statements at most.
    using Statements = QHash<QString, std::shared_ptr<Kept>>;
    static QHash<QString, Statements>& all();
    // Kept by the text as the program holds it: a read converts it only when compiling it.
    using DirectStatements = QHash<QString, std::shared_ptr<KeptDirect>>;
    static QHash<QString, DirectStatements>& allDirect();
};

} // namespace quilloa
