#pragma once

#include "core/records/ReferenceEntry.h"
#include "core/records/SettingsRecord.h"
#include "core/records/StoredNames.h"
#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quilloa {

// The settings store: the drug, diagnosis and address lists and the settings record.
// Lists come back in the order the entries were added. Codes compare without regard to the
// case of Latin letters; "%" and "_" in a typed code keep acting as wildcards.
class SettingsStore
{
public:
    static constexpr int kNoLimit = -1;
    // The quoted table that holds the list.
    static QString tableName(ReferenceList list);

    explicit SettingsStore(const QString& filePath);
    // The settings tables of a server's database, or of a store file.
    explicit SettingsStore(StoreConnection store);

    const StoreConnection& file() const { return m_file; }

    // Every entry, or the first `limit`, whatever their code.
    StoreResult<QList<ReferenceEntry>> all(ReferenceList list, int limit = kNoLimit) const;
    // Entries whose code begins with `text`.
    StoreResult<QList<ReferenceEntry>> codeStartsWith(ReferenceList list, const QString& text,
                                                      int limit = kNoLimit) const;
    // Entries whose code contains `text` anywhere.
    StoreResult<QList<ReferenceEntry>> codeContains(ReferenceList list, const QString& text,
                                                    int limit = kNoLimit) const;

    enum class CodeMatch
    {
        Prefix,
        Contains,
    };
    // What a lookup box offers for `text`: the entries whose code begins with, or contains,
    // `text`. A text that holds a character no code has (a Chinese input method commits words,
    // not initials) also finds the entries whose name contains it; a text of Latin letters runs
    // just the code lookup.
    StoreResult<QList<ReferenceEntry>> lookup(ReferenceList list, const QString& text,
                                              CodeMatch match, int limit = kNoLimit) const;
    // Just the names that lookup() finds, in the same order: the sheet's lookup lists are
    // refilled at every keystroke from lists of thousands.
    StoreResult<StoredNames> names(ReferenceList list, const QString& text, CodeMatch match) const;

    StoreResult<qint64> add(ReferenceList list, const QString& name, const QString& code);
    // Adds every entry (name and code; the row id is not used) in one transaction: all of them
    // or, when the store fails, none.
    StoreStatus addAll(ReferenceList list, const QList<ReferenceEntry>& entries) const;
    // Rewrites exactly the row `rowId`; fails when that row is gone.
    StoreStatus update(ReferenceList list, qint64 rowId, const QString& name, const QString& code);
    StoreStatus remove(ReferenceList list, qint64 rowId);
    // Rewrites row `read.rowId()` only while it still holds what `read` holds. Returns none
    // when written, or the entry as it now stands when another room changed it since `read`
    // was read (nothing is written then); fails with NoRow when the row is gone.
    StoreResult<std::optional<ReferenceEntry>> updateIfUnchanged(ReferenceList list,
                                                                 const ReferenceEntry& read,
                                                                 const QString& name,
                                                                 const QString& code);
    StoreResult<std::optional<ReferenceEntry>> entry(ReferenceList list, qint64 rowId) const;

    StoreResult<SettingsRecord> settings() const;
    // Rewrites the settings record in place; fails when it is missing or a value is too long.
    StoreStatus setSettings(const SettingsRecord& record);
    // One value of the settings record to write, with the value it held when read.
    struct SettingChange
    {
        QString SettingsRecord::*field;
        QString value;
        QString read;
    };
    // Writes only `changes`, and only while each of those columns still holds what was read.
    // Returns false, writing nothing, when another room changed one of them since.
    StoreResult<bool> changeSettings(const QList<SettingChange>& changes);

private:
    static QString columnOf(QString SettingsRecord::*field);
    // "WHERE 拼音 LIKE ?" as the engine reads a user's pattern.
    QString codeCondition() const;
    // codeCondition(), or it or a name that contains `text`, with the values it binds.
    QString lookupCondition(const QString& text, CodeMatch match, QVariantList& values) const;
    StoreResult<QList<ReferenceEntry>> select(ReferenceList list, const QString& where,
                                              const QVariantList& values) const;

    StoreConnection m_file;
};

} // namespace quilloa
