#pragma once

#include "core/store/StoreLocation.h"

#include <QString>

namespace quilloa {

// Makes a server database ready for the workstations with least privilege, run once by the
// role that owns the database: the tables are made (owned by that role) when missing, and the
// workstation role (best a group role without login, each room a login role in it) is given
// only what the program does with them: read and add records, read, add and change list
// entries, delete either one at a time by its key (ServerGuards), read and rewrite the single
// password and settings rows, connect. It can neither drop, empty nor lock a table against the
// other rooms, nor change one, nor create any.
class ServerPreparation
{
public:
    struct Outcome
    {
        bool ok = false;
        QString message;
    };
    static Outcome prepare(const StoreLocation& owner, const QString& workstationRole,
                           bool withSamples = true);
    // The same for the texts typed at the command line.
    static Outcome prepare(const QString& serverText, const QString& workstationRole);
};

} // namespace quilloa
