#include "RawPostgres.h"

#include <libpq-fe.h>

#include <vector>

namespace quilloa::bench {

RawPostgres::RawPostgres(const QString& connectionText)
{
    PGconn* db = PQconnectdb(connectionText.toUtf8().constData());
    if (PQstatus(db) != CONNECTION_OK) {
        m_error = QString::fromUtf8(PQerrorMessage(db));
        PQfinish(db);
        return;
    }
    PQsetClientEncoding(db, "UTF8");
    m_db = db;
}

RawPostgres::~RawPostgres()
{
    PQfinish(m_db);
}

std::int64_t RawPostgres::run(const char* sql, std::initializer_list<const char*> values)
{
    if (!m_db)
        return -1;
    const std::vector<const char*> parameters(values);
    PGresult* result = PQexecParams(m_db, sql, int(parameters.size()), nullptr, parameters.data(),
                                    nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    std::int64_t rows = -1;
    if (status == PGRES_TUPLES_OK) {
        rows = PQntuples(result);
        const int columns = PQnfields(result);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                // Copied out, as any reader must before the result is cleared.
                const std::string value(PQgetvalue(result, r, c),
                                        size_t(PQgetlength(result, r, c)));
                m_checksum += value.size();
            }
        }
    } else if (status == PGRES_COMMAND_OK) {
        rows = std::int64_t(std::stoll(PQcmdTuples(result)[0] ? PQcmdTuples(result) : "0"));
    } else {
        m_error = QString::fromUtf8(PQresultErrorMessage(result));
    }
    PQclear(result);
    return rows;
}

} // namespace quilloa::bench
