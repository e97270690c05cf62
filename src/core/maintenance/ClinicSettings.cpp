#include "core/maintenance/ClinicSettings.h"

#include "core/startup/PasswordHash.h"

#include <utility>

namespace quilloa {
namespace {

// What the margins hold until the stored values are read.
const QString kDefaultLeftMargin = QStringLiteral("120");
const QString kDefaultTopMargin = QStringLiteral("200");

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
    m_passwordLoaded = true;
    return password;
}

// Read every time, as the archive is: a settings store put in place while the program runs (a
// restored backup, a file copied over it) is what a new sheet shows and what 确 定 writes over,
// never the values held from the file that was there before. One row each, so cheap.
StoreStatus ClinicSettings::refresh()
{
    const std::array<QString, kFieldCount> before = m_values;
    loadPassword();
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
    Saved saved{refresh(), StoreStatus::success(), StoreStatus::success()};
    // Values that were never read must not be written back over the stored ones.
    if (!saved.readable.ok())
        return saved;
    SettingsRecord record;
    record.clinicName = value(ClinicName);
    record.doctor = value(Doctor);
    record.dispenser = value(Dispenser);
    record.leftMargin = value(LeftMargin);
    record.topMargin = value(TopMargin);
    record.cardLeftMargin = value(CardLeftMargin);
    record.cardTopMargin = value(CardTopMargin);
    saved.settings = m_settings.setSettings(record);
    saved.password = savePassword();
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

void ClinicSettings::clearPassword(bool clear)
{
    if (m_clearPassword == clear)
        return;
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
    const StoreStatus written = m_archive.setLoginPassword(stored);
    if (!written.ok())
        return written;
    m_storedPassword = stored;
    m_passwordLoaded = true;
    m_clearPassword = false;
    m_values[Password].clear();
    m_edited[Password] = false;
    emit changed();
    return written;
}

void ClinicSettings::forget()
{
    setDefaults();
    m_settingsLoaded = false;
    m_passwordLoaded = false;
    m_storedPassword.clear();
    m_clearPassword = false;
    emit changed();
}

} // namespace quilloa
