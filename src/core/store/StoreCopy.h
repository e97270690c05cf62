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

    // Flushes a written file to the disk and puts it in place of `target` in one step.
    static StoreStatus install(const QString& written, const QString& target);

    // The tables a store of this kind must hold.
    static QStringList tablesOf(StoreKind kind);

    // Removes a temporary file with its journal.
    static void removeTemporary(const QString& path);
};

} // namespace quilloa
