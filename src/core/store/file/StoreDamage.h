#pragma once

#include <QString>

namespace quilloa {

// The store files found damaged while the program runs: at start, or by a read that met a
// damaged page of an archive too large to be checked whole at every start. A file known damaged
// takes no new record, which could land on or beside the damage and be lost with it; it counts
// as damaged until it is another file, or its content changed (a dated copy put in its place,
// by the restore window or by hand).
class StoreDamage
{
public:
    static void note(const QString& path);
    [[nodiscard]] static bool known(const QString& path);
    static void forget(const QString& path);
};

} // namespace quilloa
