#pragma once

#include "core/store/server/CopyStream.h"

#include <QList>
#include <QSqlError>
#include <QString>

#include <span>

struct sqlite3;
struct sqlite3_stmt;

namespace quilloa {

// Rows written into one table of a store file straight through the SQLite library: one
// statement compiled once, each value bound from the bytes it arrived as. A backup of a million
// records spends its time on the rows, not on a variant per value.
class FileRowWriter
{
public:
    // How a value arrives: a whole number as eight bytes, most significant first, or UTF-8.
    enum class Kind
    {
        Integer,
        Text,
    };

    // Inserts into `table` the `columns` (rowid may be among them), in that order.
    FileRowWriter(sqlite3* db, const QString& table, const QStringList& columns, QList<Kind> kinds);
    ~FileRowWriter();
    FileRowWriter(const FileRowWriter&) = delete;
    FileRowWriter& operator=(const FileRowWriter&) = delete;

    // Writes one row; false when the file refused it or a value is not of its kind (see error()).
    bool add(std::span<const CopyStream::Field> row);
    qint64 rows() const { return m_rows; }
    // Why the last add() failed, as the engine reports it.
    const QSqlError& error() const { return m_error; }

private:
    bool bind(int column, const CopyStream::Field& field);
    void fail(const QString& why = QString());

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    QList<Kind> m_kinds;
    qint64 m_rows = 0;
    QSqlError m_error;
};

} // namespace quilloa
