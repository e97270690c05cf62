#pragma once

#include "core/printing/PrintMargins.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreResult.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace quilloa {

// The clinic's settings while the program runs: clinic name, default doctor and dispenser, the
// four print margins and the login password. Read from the stores at every refresh(), so a store
// replaced under the program is seen; what the user types over a value counts at once for every
// reader (a new sheet takes the doctor as typed) and is kept over whatever is read later, and
// save() stores just the values typed over, so what another room changed meanwhile in the others
// stays. A typed value that another room changed too since it was read is not written until the
// user chose (keepMine(), takeTheirs()). Values that could not be read are never written back
// as if they had been read.
//
// The password is different: the store holds only its hash, which is never a value to show.
// value(Password) is a new password typed in this session (empty until one is typed); save()
// stores its hash when it holds more than blanks, and an untouched or blank box keeps the
// stored password. clearPassword() asks save() to remove it.
class ClinicSettings : public QObject
{
    Q_OBJECT
public:
    enum Field
    {
        ClinicName = 0,
        Doctor,
        Dispenser,
        LeftMargin,
        TopMargin,
        CardLeftMargin,
        CardTopMargin,
        Password,
    };
    static constexpr int kFieldCount = Password + 1;

    ClinicSettings(SettingsStore settings, ArchiveStore archive, QObject* parent = nullptr);

    const QString& value(Field field) const { return m_values.at(field); }
    // A value the user typed: it is kept over whatever is read later, until forget().
    void edit(Field field, const QString& text);
    bool isEdited(Field field) const { return m_edited.at(field); }

    // Reads the stores as they stand into the values the user has not typed over. Returns how
    // reading the settings record went.
    StoreStatus refresh();
    // The same, telling a password that could not be read too.
    StoreStatus refreshAll();
    // Where these settings are kept (see StoreConnection::description()).
    QString storeDescription() const { return m_settings.file().description(); }
    bool isSettingsLoaded() const { return m_settingsLoaded; }
    bool isPasswordLoaded() const { return m_passwordLoaded; }
    // Whether the store holds a login password (as last read or saved).
    bool hasPassword() const { return !m_storedPassword.trimmed().isEmpty(); }
    // The stored form (a hash, or an older version's clear password), for checking a typed one.
    const QString& storedPassword() const { return m_storedPassword; }
    // The next save() removes the login password (or, with false, no longer does).
    void clearPassword(bool clear);
    bool isPasswordCleared() const { return m_clearPassword; }

    // A value the user changed that another room changed too since this one read it: the
    // user decides which stays. The password's forms are never shown, so both texts are empty.
    struct Conflict
    {
        Field field;
        QString theirs;
        QString mine;
    };

    // How storing went, part by part. Nothing is stored while `readable` failed or while
    // there are conflicts; only the values the user changed are written.
    struct Saved
    {
        StoreStatus readable;
        StoreStatus settings;
        StoreStatus password;
        QList<Conflict> conflicts;
        bool ok() const
        {
            return readable.ok() && settings.ok() && password.ok() && conflicts.isEmpty();
        }
    };
    Saved save();
    // The answers to a conflict: the next save() writes the user's value over the other
    // room's, or the other room's value is taken and the user's dropped.
    void keepMine(Field field);
    void takeTheirs(Field field);

    // The print margins of the sheet and the card as stored, read now, whatever is typed over
    // them: printing at margins that could not be read would put every item off its place on
    // the clinic's pre-printed paper, so a store that fails gives its error, never defaults.
    struct StoredMargins
    {
        PrintMargins sheet;
        PrintMargins card;
    };
    StoreResult<StoredMargins> storedMargins() const;
    // The clinic name as stored, read now; empty when the store cannot be read.
    QString storedClinicName() const;

    // Drops what was read and typed; the next refresh() reads the stores again.
    void forget();

signals:
    void changed();

private:
    StoreStatus loadSettings();
    StoreStatus loadPassword();
    StoreStatus savePassword();
    // Writes the changed values while they still hold what was read: false when another room
    // wrote one of them in between.
    StoreResult<bool> writeSettings();
    QList<Conflict> conflicts() const;
    bool passwordChanging() const;
    void fill(Field field, const QString& stored);
    void setDefaults();

    SettingsStore m_settings;
    ArchiveStore m_archive;
    std::array<QString, kFieldCount> m_values;
    std::array<bool, kFieldCount> m_edited{};
    // The values as last read (the password's stored form for Password), and for each edited
    // value the stored one it was typed over, when that was known.
    std::array<QString, kFieldCount> m_stored;
    std::array<std::optional<QString>, kFieldCount> m_basis;
    bool m_settingsLoaded = false;
    bool m_passwordLoaded = false;
    QString m_storedPassword;
    bool m_clearPassword = false;
};

} // namespace quilloa
