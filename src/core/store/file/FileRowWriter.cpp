#include "core/store/file/FileRowWriter.h"

#include "core/store/StoreColumns.h"

#include <QStringList>
#include <QtEndian>

#include <sqlite3.h>

namespace quilloa {

FileRowWriter::FileRowWriter(sqlite3* db, const QString& table, const QStringList& columns,
                             QList<Kind> kinds)
    : m_db(db), m_kinds(std::move(kinds))
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << StoreColumns::quoted(column);
    const QStringList marks(columns.size(), QStringLiteral("?"));
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(StoreColumns::quoted(table), quoted.join(QStringLiteral(", ")),
                                    marks.join(QStringLiteral(", ")))
                               .toUtf8();
    if (!m_db || sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_statement,
                                    nullptr) != SQLITE_OK)
        fail();
}

FileRowWriter::~FileRowWriter()
{
    sqlite3_finalize(m_statement);
}

bool FileRowWriter::add(std::span<const CopyStream::Field> row)
{
    if (!m_statement || row.size() != size_t(m_kinds.size()))
        return false;
    for (int column = 0; column < int(row.size()); ++column) {
        if (!bind(column, row[size_t(column)]))
            return false;
    }
    const int stepped = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    if (stepped != SQLITE_DONE) {
        fail();
        return false;
    }
    ++m_rows;
    return true;
}

// The values stay where they arrived until the row is written: the engine need not copy them.
bool FileRowWriter::bind(int column, const CopyStream::Field& field)
{
    const int at = column + 1;
    int bound = SQLITE_OK;
    if (field.isNull()) {
        bound = sqlite3_bind_null(m_statement, at);
    } else if (m_kinds[column] == Kind::Text) {
        bound = sqlite3_bind_text(m_statement, at, field.data, field.size, SQLITE_STATIC);
    } else if (field.size == 8) {
        bound = sqlite3_bind_int64(m_statement, at, qFromBigEndian<qint64>(field.data));
    } else {
        fail(QStringLiteral("column %1 holds no whole number").arg(column));
        return false;
    }
    if (bound != SQLITE_OK) {
        fail();
        return false;
    }
    return true;
}

void FileRowWriter::fail(const QString& why)
{
    const QString text = why.isEmpty() && m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : why;
    const QString code =
        why.isEmpty() && m_db ? QString::number(sqlite3_extended_errcode(m_db)) : QString();
    m_error =
        QSqlError(QStringLiteral("Unable to write the row"), text, QSqlError::StatementError, code);
}

} // namespace quilloa
