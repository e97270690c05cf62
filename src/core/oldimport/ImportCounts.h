#pragma once

#include <QtGlobal>

#include <array>

namespace quilloa {

// What an import did, or with a dry run would do, table by table.
struct ImportCounts
{
    qint64 recordsRead = 0;
    qint64 recordsAdded = 0;
    // Already there with the same key and the same values: left out.
    qint64 recordsSkipped = 0;
    // Added beside a record of the same key that holds other values (keys are not unique).
    qint64 recordsBesideSameKey = 0;

    struct List
    {
        qsizetype read = 0;
        qsizetype added = 0;
        bool replaced = false; // the list was still the one a fresh start made
    };
    std::array<List, 3> lists{}; // drugs, diagnoses, addresses

    enum class Settings
    {
        None, // no old settings record
        Same, // the old record equals the current one
        Taken,
        Kept,
    };
    Settings settings = Settings::None;

    enum class Password
    {
        None,  // no old password record
        Blank, // the old program asked for no login
        Taken,
        KeptCurrent, // a login password is set here already
    };
    Password password = Password::None;
};

// Which settings record the import leaves in place when the current one is no longer the one a
// fresh start made.
enum class SettingsChoice
{
    Auto,        // the old record only over a fresh one
    TakeOld,     // the user chose the old record
    KeepCurrent, // the user chose the current record
};

} // namespace quilloa
