#include "core/store/server/ServerResult.h"

#include "core/store/server/ServerCalls.h"

#include <QDate>
#include <QDateTime>
#include <QSqlField>
#include <QSqlRecord>
#include <QVariant>

#include <libpq-fe.h>

#include <cstdlib>
#include <vector>

namespace quilloa {
namespace {

// Type OIDs of the server's built-in types; every other type (text, citext…) reads as text.
enum TypeOid : Oid
{
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
};

QMetaType typeOf(Oid oid, QSql::NumericalPrecisionPolicy policy)
{
    switch (oid) {
    case kBool:
        return QMetaType(QMetaType::Bool);
    case kBytea:
        return QMetaType(QMetaType::QByteArray);
    case kInt8:
        return QMetaType(QMetaType::LongLong);
    case kInt2:
    case kInt4:
        return QMetaType(QMetaType::Int);
    case kOid:
        return QMetaType(QMetaType::UInt);
    case kFloat4:
    case kFloat8:
        return QMetaType(QMetaType::Double);
    case kNumeric:
        return policy == QSql::HighPrecision ? QMetaType(QMetaType::QString)
                                             : QMetaType(QMetaType::Double);
    default:
        return QMetaType(QMetaType::QString);
    }
}

// A value as the server reads a parameter in text form; bytes go in binary form (format 1).
QByteArray parameterOf(const QVariant& value, int* format)
{
    *format = 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        *format = 1;
        return value.toByteArray();
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
    default:
        return value.toString().toUtf8();
    }
}

} // namespace

ServerResult::ServerResult(const QSqlDriver* driver, ServerCalls* calls)
    : QSqlResult(driver), m_calls(calls)
{
}

ServerResult::~ServerResult()
{
    clearRows();
    if (ServerCalls* driver = server(); driver && !m_statement.isEmpty())
        driver->statementUnused(m_statement);
}

ServerCalls* ServerResult::server() const
{
    // The driver goes before its results when a connection is removed with queries left over;
    // driver() then is null, and m_calls, the same object, must not be used.
    return driver() ? m_calls : nullptr;
}

QVariant ServerResult::handle() const
{
    return QVariant::fromValue(static_cast<void*>(m_result));
}

QByteArray ServerResult::numbered(const QString& sql, int* count)
{
    QString out;
    out.reserve(sql.size() + 16);
    *count = 0;
    QChar quote; // inside '…' or "…"
    bool lineComment = false;
    int blockComments = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        const QChar following = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        if (lineComment) {
            lineComment = c != QLatin1Char('\n');
        } else if (blockComments > 0) {
            if (c == QLatin1Char('*') && following == QLatin1Char('/')) {
                --blockComments;
                out += c;
                out += following;
                ++i;
                continue;
            }
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('-') && following == QLatin1Char('-')) {
            lineComment = true;
        } else if (c == QLatin1Char('/') && following == QLatin1Char('*')) {
            ++blockComments;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++*count);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

void ServerResult::clearRows()
{
    PQclear(m_result);
    m_result = nullptr;
    m_firstRowWaiting = false;
    m_command = 0;
}

bool ServerResult::take(pg_result* result, const QSqlError& error)
{
    clearRows();
    // A statement run again starts before its first row.
    setAt(QSql::BeforeFirstRow);
    if (!result) {
        setLastError(error);
        setActive(false);
        return false;
    }
    switch (PQresultStatus(result)) {
    case PGRES_SINGLE_TUPLE:
        m_firstRowWaiting = true;
        m_command = server()->currentCommand();
        [[fallthrough]];
    case PGRES_TUPLES_OK:
        m_result = result;
        setSelect(true);
        setActive(true);
        return true;
    case PGRES_COMMAND_OK:
    case PGRES_EMPTY_QUERY:
        m_result = result;
        setSelect(false);
        setActive(true);
        return true;
    default:
        setLastError(ServerCalls::errorOf(result));
        PQclear(result);
        setActive(false);
        return false;
    }
}

bool ServerResult::reset(const QString& query)
{
    ServerCalls* driver = server();
    if (!driver)
        return false;
    const QByteArray sql = query.toUtf8();
    QSqlError error;
    PGresult* result = driver->run([&sql](PGconn* c) { return PQsendQuery(c, sql.constData()); },
                                   &error, isForwardOnly());
    return take(result, error);
}

bool ServerResult::prepare(const QString& query)
{
    ServerCalls* driver = server();
    if (!driver)
        return false;
    clearRows();
    if (!m_statement.isEmpty())
        driver->statementUnused(std::exchange(m_statement, {}));
    int count = 0;
    const QByteArray sql = numbered(query, &count);
    const QByteArray name = driver->newStatementName();
    QSqlError error;
    PGresult* result = driver->run(
        [&](PGconn* c) { return PQsendPrepare(c, name.constData(), sql.constData(), 0, nullptr); },
        &error, false);
    const bool ok = result && PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok)
        setLastError(result ? ServerCalls::errorOf(result) : error);
    PQclear(result);
    if (ok)
        m_statement = name;
    return ok;
}

bool ServerResult::exec()
{
    ServerCalls* driver = server();
    if (!driver || m_statement.isEmpty())
        return false;
    const QVariantList& values = boundValues();
    const int count = int(values.size());
    std::vector<QByteArray> texts(static_cast<size_t>(count));
    std::vector<const char*> pointers(size_t(count), nullptr);
    std::vector<int> lengths(size_t(count), 0);
    std::vector<int> formats(size_t(count), 0);
    for (size_t i = 0; i < size_t(count); ++i) {
        const QVariant& value = values.at(qsizetype(i));
        if (value.isNull())
            continue;
        texts[i] = parameterOf(value, &formats[i]);
        // A server text cannot hold a NUL character, and libpq would end the value there.
        if (formats[i] == 0 && texts[i].contains('\0')) {
            setLastError(QSqlError(QStringLiteral("Unable to send the statement"),
                                   QStringLiteral("a text value holds a NUL character"),
                                   QSqlError::StatementError, QStringLiteral("22021")));
            setActive(false);
            return false;
        }
        pointers[i] = texts[i].constData();
        lengths[i] = int(texts[i].size());
    }
    QSqlError error;
    PGresult* result = driver->run(
        [&](PGconn* c) {
            return PQsendQueryPrepared(c, m_statement.constData(), count, pointers.data(),
                                       lengths.data(), formats.data(), 0);
        },
        &error, isForwardOnly());
    return take(result, error);
}

bool ServerResult::fetch(int row)
{
    if (!m_result)
        return false;
    if (streaming())
        return row == at() + 1 && fetchNext();
    if (row < 0 || row >= PQntuples(m_result))
        return false;
    setAt(row);
    return true;
}

bool ServerResult::fetchNext()
{
    if (!streaming())
        return fetch(at() + 1);
    if (std::exchange(m_firstRowWaiting, false)) {
        setAt(at() + 1);
        return true;
    }
    ServerCalls* driver = server();
    const quint64 command = m_command;
    clearRows();
    if (!driver || driver->currentCommand() != command || !driver->rowsPending()) {
        // Another statement ran on the connection meanwhile and ended this read early.
        setLastError(QSqlError(QStringLiteral("the read was cut short"), QString(),
                               QSqlError::StatementError, QStringLiteral("08006")));
        return false;
    }
    QSqlError error;
    PGresult* result = driver->next(&error);
    if (!result) {
        setLastError(error);
        return false;
    }
    switch (PQresultStatus(result)) {
    case PGRES_SINGLE_TUPLE:
        m_result = result;
        m_command = command;
        setAt(at() + 1);
        return true;
    case PGRES_TUPLES_OK:
        PQclear(result);
        return false;
    default:
        setLastError(ServerCalls::errorOf(result));
        PQclear(result);
        return false;
    }
}

bool ServerResult::fetchFirst()
{
    if (streaming())
        return at() == QSql::BeforeFirstRow && fetchNext();
    return fetch(0);
}

bool ServerResult::fetchLast()
{
    if (streaming() || !m_result)
        return false;
    return fetch(PQntuples(m_result) - 1);
}

int ServerResult::size()
{
    return m_result && isSelect() && !streaming() ? PQntuples(m_result) : -1;
}

int ServerResult::numRowsAffected()
{
    return m_result ? std::atoi(PQcmdTuples(m_result)) : -1;
}

QSqlRecord ServerResult::record() const
{
    QSqlRecord fields;
    if (!m_result)
        return fields;
    for (int i = 0; i < PQnfields(m_result); ++i)
        fields.append(QSqlField(QString::fromUtf8(PQfname(m_result, i)),
                                typeOf(PQftype(m_result, i), numericalPrecisionPolicy())));
    return fields;
}

bool ServerResult::isNull(int field)
{
    return !m_result || PQgetisnull(m_result, currentRow(), field);
}

QVariant ServerResult::data(int field)
{
    if (!m_result || field < 0 || field >= PQnfields(m_result))
        return QVariant();
    const int row = currentRow();
    const Oid oid = PQftype(m_result, field);
    const QMetaType type = typeOf(oid, numericalPrecisionPolicy());
    if (PQgetisnull(m_result, row, field))
        return QVariant(type);
    const char* text = PQgetvalue(m_result, row, field);
    const int length = PQgetlength(m_result, row, field);
    switch (oid) {
    case kBool:
        return text[0] == 't';
    case kInt8:
        return qlonglong(std::strtoll(text, nullptr, 10));
    case kInt2:
    case kInt4:
        return int(std::strtol(text, nullptr, 10));
    case kOid:
        return uint(std::strtoul(text, nullptr, 10));
    case kBytea: {
        size_t bytes = 0;
        unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &bytes);
        const QByteArray value(reinterpret_cast<const char*>(raw), qsizetype(bytes));
        PQfreemem(raw);
        return value;
    }
    case kFloat4:
    case kFloat8:
    case kNumeric:
        if (type.id() == QMetaType::Double)
            return QByteArray(text, length).toDouble();
        [[fallthrough]];
    default:
        return QString::fromUtf8(text, length);
    }
}

void ServerResult::detachFromResultSet()
{
    ServerCalls* driver = server();
    if (streaming() && driver && driver->currentCommand() == m_command)
        driver->discardRows();
    clearRows();
}

} // namespace quilloa
