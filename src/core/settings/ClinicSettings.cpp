#include "core/settings/ClinicSettings.h"

#include "core/startup/PasswordHash.h"

#include <utility>

namespace quilloa {
namespace {

// What the margins hold until the stored values are read.
const QString kDefaultLeftMargin = QStringLiteral("120");
const QString kDefaultTopMargin = QStringLiteral("200");

// Where each field stands in the settings record.
QString SettingsRecord::*memberOf(ClinicSettings::Field field)
{
    switch (field) {
    case ClinicSettings::ClinicName:
        return &SettingsRecord::clinicName;
    case ClinicSettings::Doctor:
        return &SettingsRecord::doctor;
    case ClinicSettings::Dispenser:
        return &SettingsRecord::dispenser;
    case ClinicSettings::LeftMargin:
        return &SettingsRecord::leftMargin;
    case ClinicSettings::TopMargin:
        return &SettingsRecord::topMargin;
    case ClinicSettings::CardLeftMargin:
        return &SettingsRecord::cardLeftMargin;
    case ClinicSettings::CardTopMargin:
        return &SettingsRecord::cardTopMargin;
    case ClinicSettings::Password:
        break;
    }
    return nullptr;
}

// Another room may write the record between this one's read and write; a save that meets that
// reads again and tries a few times before it gives up.
constexpr int kWriteAttempts = 3;

} // namespace

ClinicSettings::ClinicSettings(SettingsStore settings, ArchiveStore archive, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_archive(std::move(archive))
{
    setDefaults();
}

void ClinicSettings::setDefaults()
{
    m_values.fill(QString());
    m_values[LeftMargin] = kDefaultLeftMargin;
    m_values[CardLeftMargin] = kDefaultLeftMargin;
    m_values[TopMargin] = kDefaultTopMargin;
    m_values[CardTopMargin] = kDefaultTopMargin;
    m_edited.fill(false);
}

void ClinicSettings::edit(Field field, const QString& text)
{
    // The value typed over is what this room read; a save compares the store against it.
    if (!m_edited[field] && !m_basis[field]) {
        const bool known = field == Password ? m_passwordLoaded : m_settingsLoaded;
        if (known)
            m_basis[field] = field == Password ? m_storedPassword : m_values[field];
    }
    m_edited[field] = true;
    if (m_values[field] == text)
        return;
    m_values[field] = text;
    emit changed();
}

void ClinicSettings::fill(Field field, const QString& stored)
{
    if (!m_edited[field])
        m_values[field] = stored;
}

StoreStatus ClinicSettings::loadSettings()
{
    const auto settings = m_settings.settings();
    // Values read before are no longer known to be the stored ones.
    m_settingsLoaded = settings.ok();
    if (!settings.ok())
        return settings;
    const SettingsRecord& r = settings.value();
    for (int i = 0; i < Password; ++i)
        m_stored[i] = r.*memberOf(Field(i));
    fill(ClinicName, r.clinicName);
    fill(Doctor, r.doctor);
    fill(Dispenser, r.dispenser);
    fill(LeftMargin, r.leftMargin);
    fill(TopMargin, r.topMargin);
    fill(CardLeftMargin, r.cardLeftMargin);
    fill(CardTopMargin, r.cardTopMargin);
    m_settingsLoaded = true;
    return settings;
}

StoreStatus ClinicSettings::loadPassword()
{
    // Once read, the password shown is the user's to keep: an archive that fails later is told
    // when it is written.
    const auto password = m_archive.loginPassword();
    if (!password.ok())
        return password;
    m_storedPassword = password.value();
    m_stored[Password] = m_storedPassword;
    m_passwordLoaded = true;
    return password;
}

// Read every time, as the archive is: a settings store put in place while the program runs (a
// restored backup, a file copied over it) is what a new sheet shows and what 确 定 writes over,
// never the values held from the file that was there before. One row each, so cheap.
StoreStatus ClinicSettings::refresh()
{
    const std::array<QString, kFieldCount> before = m_values;
    // A password that cannot be read is told by refreshAll() and by save(); the settings read
    // here are worth showing without it.
    static_cast<void>(loadPassword());
    const StoreStatus settings = loadSettings();
    if (m_values != before)
        emit changed();
    return settings;
}

StoreStatus ClinicSettings::refreshAll()
{
    const StoreStatus settings = refresh();
    if (!settings.ok() || m_passwordLoaded)
        return settings;
    const StoreStatus password = loadPassword();
    if (password.ok())
        emit changed();
    return password;
}

ClinicSettings::Saved ClinicSettings::save()
{
    Saved saved{StoreStatus::success(), StoreStatus::success(), StoreStatus::success(), {}};
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        saved.readable = refresh();
        // Values that were never read must not be written back over the stored ones.
        if (!saved.readable.ok())
            return saved;
        saved.conflicts = conflicts();
        if (!saved.conflicts.isEmpty())
            return saved;
        const StoreResult<bool> written = writeSettings();
        saved.settings = written;
        if (!written.ok())
            return saved;
        if (written.value()) {
            saved.password = savePassword();
            if (saved.password.fault() != StoreFault::NoRow)
                return saved;
        }
    }
    saved.settings =
        StoreStatus::failure(QStringLiteral("另一台电脑正在同时修改设置，请稍后再按“确 定”。"));
    saved.password = StoreStatus::success();
    return saved;
}

StoreResult<ClinicSettings::StoredMargins> ClinicSettings::storedMargins() const
{
    const StoreResult<SettingsRecord> read = m_settings.settings();
    if (!read.ok())
        return static_cast<const StoreStatus&>(read);
    const SettingsRecord& r = read.value();
    return StoredMargins{PrintMargins(r.leftMargin, r.topMargin),
                         PrintMargins(r.cardLeftMargin, r.cardTopMargin)};
}

QString ClinicSettings::storedClinicName() const
{
    return m_settings.settings().valueOr(SettingsRecord()).clinicName;
}

QList<ClinicSettings::Conflict> ClinicSettings::conflicts() const
{
    QList<Conflict> found;
    for (int i = 0; i < Password; ++i) {
        if (m_edited[i] && m_basis[i] && *m_basis[i] != m_stored[i] && m_values[i] != m_stored[i])
            found.append({Field(i), m_stored[i], m_values[i]});
    }
    if (passwordChanging() && m_basis[Password] && *m_basis[Password] != m_storedPassword)
        found.append({Password, QString(), QString()});
    return found;
}

bool ClinicSettings::passwordChanging() const
{
    return m_clearPassword || !PasswordHash::normalized(value(Password)).isEmpty();
}

StoreResult<bool> ClinicSettings::writeSettings()
{
    QList<SettingsStore::SettingChange> changes;
    for (int i = 0; i < Password; ++i) {
        if (m_edited[i] && m_values[i] != m_stored[i])
            changes.append({memberOf(Field(i)), m_values[i], m_stored[i]});
    }
    const StoreResult<bool> written = m_settings.changeSettings(changes);
    if (!written.ok() || !written.value())
        return written;
    for (const SettingsStore::SettingChange& change : changes) {
        for (int i = 0; i < Password; ++i) {
            if (memberOf(Field(i)) == change.field) {
                m_stored[i] = change.value;
                m_basis[i] = change.value;
            }
        }
    }
    return written;
}

void ClinicSettings::keepMine(Field field)
{
    m_basis[field] = m_stored[field];
}

void ClinicSettings::takeTheirs(Field field)
{
    m_basis[field].reset();
    m_edited[field] = false;
    if (field == Password) {
        m_values[Password].clear();
        m_clearPassword = false;
    } else {
        m_values[field] = m_stored[field];
    }
    emit changed();
}

void ClinicSettings::clearPassword(bool clear)
{
    if (m_clearPassword == clear)
        return;
    if (clear && !m_basis[Password] && m_passwordLoaded)
        m_basis[Password] = m_storedPassword;
    m_clearPassword = clear;
    emit changed();
}

// Only a new password or a clearing is written: an untouched box keeps the stored hash, even
// one that could not be read. The typed text is dropped once its hash is stored.
StoreStatus ClinicSettings::savePassword()
{
    const bool typed = !PasswordHash::normalized(value(Password)).isEmpty();
    if (!m_clearPassword && !typed)
        return StoreStatus::success();
    const QString stored = m_clearPassword ? QString() : PasswordHash::make(value(Password));
    if (!m_clearPassword && stored.isEmpty())
        return StoreStatus::failure(QStringLiteral("无法计算密码的散列值，密码没有改动。"));
    // A password that could not be read is replaced as it stands; one that was read only while
    // another room has not changed it since.
    StoreStatus written = StoreStatus::success();
    if (!m_passwordLoaded) {
        written = m_archive.setLoginPassword(stored);
    } else {
        const StoreResult<bool> changed = m_archive.changeLoginPassword(stored, m_storedPassword);
        written = !changed.ok()     ? StoreStatus(changed)
                  : changed.value() ? StoreStatus::success()
                                    : StoreStatus::failure(StoreFault::NoRow, QString());
    }
    if (!written.ok())
        return written;
    m_storedPassword = stored;
    m_passwordLoaded = true;
    m_clearPassword = false;
    m_stored[Password] = stored;
    m_basis[Password].reset();
    m_values[Password].clear();
    m_edited[Password] = false;
    emit changed();
    return written;
}

void ClinicSettings::forget()
{
    setDefaults();
    m_stored.fill(QString());
    m_basis.fill(std::nullopt);
    m_settingsLoaded = false;
    m_passwordLoaded = false;
    m_storedPassword.clear();
    m_clearPassword = false;
    emit changed();
}

} // namespace quilloa
