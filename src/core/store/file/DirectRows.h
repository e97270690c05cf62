#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariantList>

#include <functional>
#include <map>

struct sqlite3;
struct sqlite3_stmt;
class QSqlQuery;

namespace quilloa {

// One row of a direct read, valid only inside the callback that receives it.
class DirectRow
{
public:
    explicit DirectRow(sqlite3_stmt* statement) : m_statement(statement) {}
    // A row of a server's result, read through the driver.
    explicit DirectRow(const QSqlQuery* query) : m_query(query) {}

    bool isNull(int column) const;
    qint64 integer(int column) const;
    // NULL reads as an empty text.
    QString text(int column) const;
    // The stored UTF-8 bytes, valid until the callback returns; NULL reads as empty.
    QByteArrayView utf8(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    const QSqlQuery* m_query = nullptr;
    mutable std::map<int, QByteArray> m_converted; // a server row's texts, as UTF-8
};

// Reads every row of one statement on the store's held connection straight through the SQLite
// library. Lists of thousands of rows spend their time on the rows, not on a variant per value,
// so a whole-list read costs little more than the query itself. Values are bound, never pasted.
// On a server the rows come through the driver's kept statement instead, as every other read.
class DirectRows
{
public:
    using RowReader = std::function<void(const DirectRow&)>;

    // Which state of the file a read saw. The library counts every change to the file, made on
    // this connection or committed by another, and the count a read leaves is that of the file
    // as the read saw it; two reads on one connection that leave the same count outside a
    // transaction saw the same file. Left unknown on a server.
    struct View
    {
        const sqlite3* connection = nullptr;
        unsigned version = 0;
        bool known = false;

        bool operator==(const View&) const = default;
    };

    static StoreStatus read(const StoreConnection& file, const QString& sql,
                            const QVariantList& values, const RowReader& row, View* seen = nullptr);
};

} // namespace quilloa
