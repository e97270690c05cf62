#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"
#include "core/store/file/DirectRows.h"

#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quilloa {

// An index from each character of a patient name to the records whose name holds it, kept by
// triggers on 档案 so rows written by any tool are indexed too. A name search then reads only
// the records holding one of the typed characters instead of every record; the typed text is
// still matched by the same LIKE, so results and order stay those of the plain query.
//
// Each index row carries the name, visit date and key of its record, so a search reads the
// index alone. Characters are stored with Latin letters folded to lower case, as LIKE folds
// them.
//
// A store made before the index existed gets the (empty) index and its triggers when it is
// opened (the first step of SchemaVersion); the rows already there are filled in by build() in
// short steps, and until that is done searches fall back to the plain query.
class NameIndex
{
public:
    // Every name character up to this position is indexed. Longer names (the column holds 10)
    // are marked, and while such a name exists searches fall back to the plain query.
    static constexpr int kIndexedLength = 10;

    // Creates the index objects, or makes them afresh when they are not the ones this program
    // keeps or no longer match the rows' numbers; a sound index is left as it is. The records
    // already stored are left to build(). Runs inside the caller's transaction; does nothing
    // on a file without 档案. The error of the statement that failed, if one did.
    static QSqlError create(QSqlDatabase& db);
    // The same at every opening, in a transaction of its own: another tool may have dropped
    // the index or numbered the rows afresh.
    static void ensure(QSqlDatabase& db);

    // Indexes more of the records stored before the index existed, `records` at a time, in one
    // transaction: one batch, and further batches until `until` has expired. Returns whether
    // the index is complete afterwards.
    static StoreResult<bool> build(const StoreConnection& file, int records,
                                   const QDeadlineTimer& until = QDeadlineTimer(0));
    // The same on a connection of the caller's own, on a thread apart from the store's held
    // connection; `path` names the file in a failure. The write lock is taken first, so no
    // other writer of the index moves its progress meanwhile. `stopped` is asked after each
    // batch: once it says so, the step is rolled back whole and the index is left as it was.
    static StoreResult<bool> build(QSqlDatabase& db, const QString& path, int records,
                                   const QDeadlineTimer& until,
                                   const std::function<bool()>& stopped = {});
    static StoreResult<bool> isComplete(const StoreConnection& file);
    // Leaves every record of the file open on `db` to build(), as in a store made before the
    // index existed, for a file whose records were written while its triggers were set aside (a
    // backup being written): the index is derived from the records, so a backup need not spend
    // its time on it, and a store opened from it fills it while idle. Runs inside the caller's
    // transaction; the error of the failing statement.
    static QSqlError leaveToBuild(QSqlDatabase& db);

    // The characters of `nameText` that must appear in a matching name, as the index holds
    // them: wildcards left out, Latin letters folded, each once, in typed order.
    static QStringList literalCharacters(const QString& nameText);
    // The literal character of `nameText` held by the fewest records; none when the text has
    // no literal character or the index cannot answer exactly (not complete, overlong names)
    // as far as this connection last found.
    static std::optional<QString> rarestCharacter(const StoreConnection& file,
                                                  const QString& nameText);

    // Whether the index could answer exactly is asked at every keystroke, so a yes is
    // remembered for the held connection with the state of the file it was found in, and given
    // again without a statement. The file may have changed since: rows read through the index
    // count only when the read saw that same state (answeredAt()); otherwise the caller
    // forgets the answer and reads again.
    static bool answeredAt(const StoreConnection& file, const DirectRows::View& seen);
    static void forget(const QString& connectionName);

    // Whether `nameText` is one plain character (no wildcard): every record indexed under it
    // then matches, and no LIKE is needed.
    static bool isOneCharacter(const QString& nameText);

private:
    static bool isSound(QSqlDatabase& db);
    static bool answersExactly(const StoreConnection& file);
};

} // namespace quilloa
