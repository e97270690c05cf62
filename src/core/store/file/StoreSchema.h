#pragma once

#include "core/store/StoreResult.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace quilloa {

// The tables of the two store files. Text(n) columns refuse values longer than n characters,
// and every text column compares without regard to the case of Latin letters.
class StoreSchema
{
public:
    // Writes a fresh archive store (password record with an empty password) at path.
    static StoreStatus createArchiveStore(const QString& path);
    // Writes a fresh settings store (settings record with sample doctor and clinic, "0" margins).
    // With samples, a few drugs, diagnoses and addresses are added so a new installation is
    // usable at once.
    static StoreStatus createSettingsStore(const QString& path, bool withSamples);

    // Lookup indexes; they change no result and no order. Safe on any store, old or new. (The
    // name index is a step of SchemaVersion: it adds a table and triggers.)
    static void ensureIndexes(QSqlDatabase& db);

    // The settings record of a new installation: sample doctor and clinic, "0" margins.
    static QString settingsRow();
    // A handful of common drugs, diagnoses and addresses; their codes are the initials.
    static QStringList sampleRows();

    static const QString kSampleDoctor;
    static const QString kSampleClinic;
};

} // namespace quilloa
