#include "core/store/server/ServerCalls.h"

#include <libpq-fe.h>

namespace quilloa {

QSqlError ServerCalls::errorOf(const pg_result* result)
{
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    const QString text =
        primary ? QString::fromUtf8(primary) : QString::fromUtf8(PQresultErrorMessage(result));
    return QSqlError(QStringLiteral("Unable to run the statement"), text.trimmed(),
                     QSqlError::StatementError, state ? QString::fromLatin1(state) : QString());
}

} // namespace quilloa
