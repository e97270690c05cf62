#pragma once

#include "core/store/StoreResult.h"

#include <QString>
#include <QStringList>

namespace quilloa {

// Which of the two stores a file is meant to be, for checking it.
enum class StoreKind
{
    Archive,  // 档案 and 密码
    Settings, // 药品, 诊断, 地址 and 设置
};

// Whole-store copies that are never damaged and never replace a good file by a bad one. Used
// for the dated backups, and for putting a backup back.
class StoreCopy
{
public:
    // Copies the store at `source` to `target`. The copy is taken under the database's own
    // read lock, so it is consistent even while another program writes the source; it is written
    // under a temporary name beside `target`, checked (see check()), flushed to the disk, and
    // only then put in place of `target` in one rename. On any failure, including a source that
    // is busy or fails the check, `target` stays as it was and nothing is left behind.
    static StoreStatus copyChecked(const QString& source, const QString& target, StoreKind kind);

    // Whether the file at `path` is a sound store of its kind: the database's quick check
    // passes, the expected tables are there and the one-row tables hold their row.
    static StoreStatus check(const QString& path, StoreKind kind);

    // Whether the store at `path` can be read, quickly enough for every start: it opens, its
    // schema reads and holds the tables of its kind, and the first and last rows of every table
    // read. A store small enough is given the full quick check as well.
    static StoreStatus probe(const QString& path, StoreKind kind);

    // Flushes a written file to the disk and puts it in place of `target` in one step.
    static StoreStatus install(const QString& written, const QString& target);

    // Copies the file at `source`, byte for byte, to the new file `target` and flushes it to
    // the disk. The caller holds whatever lock keeps the source still. A failure names the
    // cause the system reported and leaves no `target` behind.
    static StoreStatus copyFile(const QString& source, const QString& target);
    // Writes `bytes` as the file `target`, replacing it in one step once they are on the disk.
    static StoreStatus writeFile(const QString& target, const QByteArray& bytes);
    // Makes `folder` and its parents; a failure names the cause the system reported.
    static StoreStatus makeFolder(const QString& folder);

    // Removes the temporary copies ("*.part") that a copy killed midway left in `folder`, once
    // they have not been written to for a while, so a copy still under way is left alone.
    static void removeStaleTemporaries(const QString& folder);

    // The tables a store of this kind must hold.
    static QStringList tablesOf(StoreKind kind);

    // Removes a temporary file with its journal.
    static void removeTemporary(const QString& path);
};

} // namespace quilloa
