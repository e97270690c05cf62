#include "core/store/file/DirectRows.h"

#include "core/store/StoreMessage.h"
#include "core/store/file/PreparedStatements.h"
#include "core/store/file/StoreDamage.h"
#include "core/store/sql/BoundQuery.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace quilloa {
namespace {

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// The library's failure in the user's terms; like every failed operation, it makes the next
// one open the file afresh.
StoreStatus failed(const StoreConnection& file, sqlite3* db)
{
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
    const StoreFault fault = StoreMessage::faultOfCode(sqlite3_extended_errcode(db), detail);
    if (fault != StoreFault::TooLong)
        file.operationFailed();
    if (fault == StoreFault::Damaged)
        StoreDamage::note(file.path());
    return StoreStatus::failure(fault, file.path(), detail);
}

// Inside a transaction this connection's own changes are not counted until it commits.
DirectRows::View viewOf(sqlite3* db)
{
    DirectRows::View view;
    if (!sqlite3_get_autocommit(db))
        return view;
    view.known =
        sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &view.version) == SQLITE_OK;
    view.connection = db;
    return view;
}

int bind(sqlite3_stmt* statement, int index, const QVariant& given)
{
    const QVariant value = BoundQuery::bindable(given);
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()),
                                 SQLITE_TRANSIENT);
    }
    }
}

} // namespace

bool DirectRow::isNull(int column) const
{
    if (m_query)
        return m_query->isNull(column);
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 DirectRow::integer(int column) const
{
    if (m_query)
        return m_query->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

QString DirectRow::text(int column) const
{
    if (m_query) {
        const QString text = m_query->value(column).toString();
        return text.isNull() ? QString(QLatin1String("")) : text;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (!text)
        return QString(QLatin1String(""));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

QByteArrayView DirectRow::utf8(int column) const
{
    if (m_query) {
        // Kept with the row, so every column asked for stays readable until the callback ends.
        const auto kept = m_converted.try_emplace(column, text(column).toUtf8()).first;
        return kept->second;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (!text)
        return QByteArrayView("", 0);
    return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
}

StoreStatus DirectRows::read(const StoreConnection& file, const QString& sql,
                             const QVariantList& values, const RowReader& row, View* seen)
{
    if (file.isServer())
        return BoundQuery::read(file, sql, values,
                                [&row](const QSqlQuery& query) { row(DirectRow(&query)); });
    const StoreResult<QSqlDatabase> db = file.database();
    if (!db.ok())
        return db;
    sqlite3* handle = handleOf(db.value());
    if (!handle)
        return StoreStatus::failure(StoreFault::Damaged, file.path());
    PreparedStatements::DirectLease lease(file.connectionName(), handle, sql);
    sqlite3_stmt* statement = lease.statement();
    if (!statement)
        return failed(file, handle);
    for (int i = 0; i < int(values.size()); ++i) {
        if (bind(statement, i + 1, values.at(i)) != SQLITE_OK) {
            lease.discard();
            return failed(file, handle);
        }
    }
    const DirectRow current(statement);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        row(current);
    // A read that broke off half way would pass for a shorter result.
    if (step != SQLITE_DONE) {
        lease.discard();
        return failed(file, handle);
    }
    if (seen)
        *seen = viewOf(handle);
    return StoreStatus::success();
}

} // namespace quilloa
