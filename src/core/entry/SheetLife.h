#pragma once

#include "core/entry/SheetFields.h"
#include "core/records/PrescriptionRecord.h"
#include "core/store/ArchiveStore.h"
#include "core/store/StoreResult.h"

#include <QDateTime>
#include <QString>

namespace quilloa {

// The life of the record on the main window's sheet, without its widgets: which state the sheet
// is in, the key it is saved under, the copied sheet kept for pasting, and whether a record that
// could not be shown left the sheet empty. The main window shows what this decides.
class SheetLife
{
public:
    enum class State
    {
        NoSheet,  // panels hidden, "保存" off
        NewSheet, // panels shown, "保存" on
        Viewing,  // a stored record shown, "保存" off
    };

    explicit SheetLife(ArchiveStore archive);

    State state() const { return m_state; }
    // The key of the record on the sheet: stamped by start(), taken from a shown record.
    const QString& recordKey() const { return m_key; }
    // A stored record could not be shown and the sheet was emptied: nothing to print.
    bool isWithdrawn() const { return m_withdrawn; }

    // A new sheet keyed by the moment it was started.
    void start(const QDateTime& now);
    // Stores the typed sheet, its body in the stored rich-text form, under the sheet's key. Only a
    // new sheet is saved; after a failure the sheet stays new, so the doctor can try again.
    StoreResult<qint64> save(const SheetFields& typed, const QString& storedBody);
    // Reads the record of an archive entry to show it. When it cannot be read (or is gone) a
    // sheet being typed stays as it is, any other is withdrawn.
    StoreResult<PrescriptionRecord> show(qint64 rowId);
    // Deletes the entry's record. A record already gone counts as deleted; one the store kept,
    // or one that cannot be told gone, is a failure.
    StoreStatus remove(const ArchiveEntry& entry);
    // Leaves the sheet after it was emptied by the window (a record could not be shown).
    void withdraw();

    void copy(const SheetFields& shown) { m_clip = shown; }
    // The copied sheet, keeping the visit date the sheet holds now.
    SheetFields pasted(const QString& visitDate) const;

private:
    ArchiveStore m_archive;
    State m_state = State::NoSheet;
    QString m_key;
    bool m_withdrawn = false;
    // Fields 0 to 8 and the body's plain text, kept for the whole run.
    SheetFields m_clip;
};

} // namespace quilloa
