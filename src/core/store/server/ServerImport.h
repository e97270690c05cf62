#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StorePaths.h"

#include <QString>
#include <QStringList>

namespace quilloa {

// Moving a clinic onto a server: the store files of a data folder copied into an empty server
// database, all in one transaction, every row with its row id so the order stays the order the
// rows were added, and the counts of every table compared before and after the commit. A
// database that already holds the program's tables is refused: nothing is merged or written
// over.
class ServerImport
{
public:
    struct Outcome
    {
        bool ok = false;
        QString message; // plain Chinese: the summary, or why nothing was copied
    };

    static Outcome copy(const StorePaths& paths, const StoreConnection& server);
    // The same for the command line: the program folder's stores to the server `serverText`
    // names the libpq way (refused, with the reason, when it cannot be understood).
    static Outcome copy(const QString& programFolder, const QString& serverText);
};

} // namespace quilloa
