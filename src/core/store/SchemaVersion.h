#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace quilloa {

// The version of what the program keeps in a store beyond the clinic's own tables and columns,
// which never change. A store file keeps it as its user_version, a server database as the one
// row of a table of its own (quilloa_schema). Version 0 is a store made before there was a
// version. Each later version is one step in SchemaVersion.cpp, run once per store and in
// order, in one transaction with the version it reaches; a new store is made at 0 and brought
// up the same way, so a new store and an upgraded one hold the same. A store of a newer program
// is refused before anything is read from its tables or written to it: its tables may mean
// what this program cannot know.
class SchemaVersion
{
public:
    static constexpr int kCurrent = 3;
    // Store files are stamped only with the steps that change them, so that an older program
    // still opens a file this one opened when nothing in the file changed.
    static constexpr int kFileCurrent = 1;

    // The store file's version, or why it cannot be read.
    static StoreResult<int> ofFile(QSqlDatabase& db, const QString& path);
    // Refuses (StoreFault::TooNew) a store found at `version` that is newer than this program.
    static StoreStatus known(int version, const QString& path);
    // The two together: whether this program may use the store file open on `db`.
    static StoreStatus checkFile(QSqlDatabase& db, const QString& path);
    // Brings the store file open on `db` up to kFileCurrent, refusing a newer one untouched.
    static StoreStatus upgradeFile(QSqlDatabase& db, const QString& path);

    // The statements that make the version table of a new server database, at kCurrent.
    static QStringList serverTableStatements();
    // The server database's version: 0 for a database made before it had the table.
    static StoreResult<int> ofServer(const StoreConnection& server, QSqlDatabase& db);
    // The same on a connection of its own (a backup's, on a thread of its own), which leaves
    // the store's held connection alone; `description` names the server in a failure.
    static StoreResult<int> ofServer(QSqlDatabase& db, const QString& description);
    // Brings a server database that holds the tables up to kCurrent, inside the caller's
    // transaction, or refuses a newer one without writing; one only the tables' owner may
    // bring up is refused, telling who can.
    static StoreStatus upgradeServer(const StoreConnection& server, QSqlDatabase& db);
};

} // namespace quilloa
