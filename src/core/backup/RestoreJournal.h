#pragma once

#include "core/store/StorePaths.h"
#include "core/store/StoreResult.h"

#include <QString>

namespace quilloa {

// The note a restore keeps in the data folder while it writes the two stores one after the
// other, so that a restore the program did not live to end is ended at the next start: the
// two stores must never be left from two different days.
class RestoreJournal
{
public:
    // Notes, on the disk, that the stores are about to be replaced by the copies in
    // `copyFolder`, the stores as they were having been saved to `savedFolder`.
    static StoreStatus begin(const StorePaths& paths, const QString& copyFolder,
                             const QString& savedFolder);
    // The restore has ended, one way or the other; false when the note is still there.
    [[nodiscard]] static bool end(const StorePaths& paths);
    // The restore failed and its user was told that the stores as they were before it will be
    // put back: the next start does that, and never finishes the restore.
    [[nodiscard]] static StoreStatus markUndo(const StorePaths& paths);
    static QString notePathOf(const StorePaths& paths) { return notePath(paths); }

    // Ends a restore that was interrupted: puts the copy in place of both stores again when
    // it is still sound, otherwise puts back the stores as they were before it. A restore that
    // failed and said so is only ever put back (see markUndo()). Returns what to tell the user:
    // empty when no restore was left unended.
    static QString resume(const StorePaths& paths);

    // Puts the two stores of `folder` in place of the stores, each under its store's lock.
    // Both locks are had before either store is written.
    static StoreStatus putBoth(const StorePaths& paths, const QString& folder);

private:
    static QString notePath(const StorePaths& paths);
    static QString undoNotePath(const StorePaths& paths);
    static QString resumeUndo(const StorePaths& paths);
};

} // namespace quilloa
