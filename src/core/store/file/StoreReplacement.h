#pragma once

#include "core/store/StoreResult.h"
#include "core/store/file/StoreCopy.h"

#include <QString>

struct sqlite3;
struct sqlite3_backup;

namespace quilloa {

// Puts a checked copy in place of a store file through the database engine: the copy's pages
// are written into the store in one journaled transaction, under the exclusive lock every
// writer of the file takes. Another program that holds the store (even with a half-written
// transaction in the file) keeps it, and the replacement is refused; a transaction that a
// killed program left behind is rolled back before the lock is had; and a replacement that
// is killed midway is rolled back by the next program to open the store.
class StoreReplacement
{
public:
    StoreReplacement(QString store, QString copy, StoreKind kind);
    ~StoreReplacement();
    StoreReplacement(const StoreReplacement&) = delete;
    StoreReplacement& operator=(const StoreReplacement&) = delete;

    // Takes the store's exclusive lock, waiting about a second for another program to finish
    // its write; Busy when it does not. A missing store needs no lock: commit() then puts a
    // checked copy where it was.
    StoreStatus lock();
    // Copies the store, as it stands under the lock, to the new file `target` and checks it.
    // A damaged store is copied as it is (it may hold what the copy does not); `damaged` tells.
    StoreStatus saveTo(const QString& target, bool* damaged = nullptr) const;
    // Writes the copy over the store and releases the lock. Unless this succeeds, the store
    // stays as it was.
    StoreStatus commit();
    // Whether the last commit() put the copy in place, even when it then reported a failure of
    // its own (closing the copy after the write): what the store now holds.
    bool wroteCopy() const { return m_wrote; }

    // Gives up: the store stays as it was and its lock is released.
    void release();

    const QString& store() const { return m_store; }

private:
    QString m_store;
    QString m_copy;
    StoreKind m_kind;
    bool m_missing = false;
    bool m_wrote = false;
    sqlite3* m_storeDb = nullptr;
    sqlite3* m_copyDb = nullptr;
    sqlite3_backup* m_backup = nullptr;
};

} // namespace quilloa
