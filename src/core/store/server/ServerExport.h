#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"
#include "core/store/file/StoreCopy.h"

#include <QDate>
#include <QList>
#include <QString>

namespace quilloa {

// Store files written from a server's database, as it stood at one moment: both are read in one
// read-only snapshot, so the archive and the settings of a backup belong together even while
// other workstations save. The files have the store files' own tables, rows in the order they
// were added and fees exact, so the restore window and any SQLite tool read them like any other
// backup.
class ServerExport
{
public:
    struct Target
    {
        StoreKind kind;
        QString path;
    };

    // Each file is written under a temporary name, checked, and put in place only when every
    // one of them is sound; otherwise no target is touched and nothing is left behind. With a
    // `day`, exports of that day never run at the same time, from this computer or another
    // room: while one runs, a second is refused with a message and writes nothing.
    static StoreStatus write(const StoreConnection& server, const QList<Target>& targets,
                             const QDate& day = QDate());
};

} // namespace quilloa
