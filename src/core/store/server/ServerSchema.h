#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QStringList>

namespace quilloa {

// The tables of both stores in one server database. They mean what the store files' tables
// mean: texts compare without regard to the case of the letters A to Z (citext in the "C"
// collation, which folds nothing else), text columns refuse
// values longer than their limits, the fee is an exact decimal, rows carry a serial row id in
// the order they were added, and the password and settings records stay single rows.
class ServerSchema
{
public:
    // The statements that create the tables, their indexes and the version row; for a command
    // that fills an empty database from store files in its own transaction, which then makes
    // the search indexes (ServerSearchIndex) over the rows it copied, in one pass.
    static QStringList tableStatements();

    // Creates the tables on a database that has none of them yet, with the empty password,
    // the settings record and, `withSamples`, the sample lists, all in one transaction; a
    // database that holds them keeps its rows and is brought up to this program's version
    // (SchemaVersion), or refused when a newer program made it. Workstations starting at the
    // same moment create them once. Returns whether they were created.
    static StoreResult<bool> ensure(const StoreConnection& server, bool withSamples = true);

    // Refuses a database whose encoding is not UTF-8, with the way to make one that is.
    static StoreStatus checkEncoding(const StoreConnection& server, QSqlDatabase& db);
};

} // namespace quilloa
