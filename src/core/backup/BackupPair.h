#pragma once

#include "core/store/StorePaths.h"
#include "core/store/StoreResult.h"

#include <QString>

namespace quilloa {

// The two store files of one backup folder, which are only of use together: a restore puts both
// back, so an archive of one day with the settings of another would mix two days. A pair is
// replaced as a pair: both copies are made and checked beside it first, and a small note in the
// folder records what each of the two files was when they were made together, so a folder whose
// files were not (a copy cut off between them, a file put there by hand) is recognised.
class BackupPair
{
public:
    struct Written
    {
        StoreStatus status = StoreStatus::success();
        // What the folder holds when `status` is a failure, in plain Chinese.
        QString held;
    };

    // Copies both stores of `paths` into `folder` as a new pair. When a copy fails, the pair that
    // was there stays as it was; `held` then says so.
    [[nodiscard]] static Written write(const StorePaths& paths, const QString& folder);

    // Whether the two files of `folder` were made together. A folder without the note (made by
    // an older program, or by hand) cannot be told and counts as whole.
    [[nodiscard]] static bool madeTogether(const QString& folder);

    // Whether `folder` holds a whole pair of the stores exactly as they stand now, so a new copy
    // would hold nothing more.
    [[nodiscard]] static bool current(const StorePaths& paths, const QString& folder);

    // Notes `folder`'s two files as a pair made together; false when the note cannot be written.
    [[nodiscard]] static bool note(const QString& folder);

    static QString noteName() { return QStringLiteral(".备份配对"); }
};

} // namespace quilloa
