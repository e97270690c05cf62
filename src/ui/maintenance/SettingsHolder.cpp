#include "ui/maintenance/SettingsHolder.h"

#include "ui/maintenance/SettingsWindow.h"

namespace quilloa {

SettingsHolder::SettingsHolder(const AppContext& context, QWidget* owner)
    : QObject(owner), m_owner(owner),
      m_settings(new ClinicSettings(context.settings(), context.archive(), this)),
      m_idleLock(context.paths().dataFolder)
{
}

bool SettingsHolder::isLoaded() const
{
    return !m_window.isNull() || m_settings->isSettingsLoaded() || m_settings->isPasswordLoaded();
}

SettingsWindow* SettingsHolder::window()
{
    if (!m_window) {
        m_window = new SettingsWindow(m_settings, m_owner, m_idleLock);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        // The window is deleted a moment after closing; from the close on, neither it nor what
        // was typed into it counts.
        SettingsWindow* loaded = m_window;
        connect(loaded, &QDialog::finished, this, [this, loaded] {
            if (m_window != loaded)
                return;
            m_window.clear();
            m_settings->forget();
        });
    }
    return m_window;
}

void SettingsHolder::show()
{
    SettingsWindow* shown = window();
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void SettingsHolder::drop()
{
    if (m_window)
        m_window->close();
    m_settings->forget();
}

// Settings that could not be read are tried again at every read, so one moment of a locked
// store does not leave blanks for the rest of the run.
StoreStatus SettingsHolder::readStatus()
{
    return m_settings->refresh();
}

QString SettingsHolder::current(ClinicSettings::Field field)
{
    // A sheet takes the value last read when the store fails; what writes checks readStatus().
    static_cast<void>(readStatus());
    return m_settings->value(field);
}

QString SettingsHolder::clinicName()
{
    return current(ClinicSettings::ClinicName);
}

QString SettingsHolder::doctor()
{
    return current(ClinicSettings::Doctor);
}

QString SettingsHolder::dispenser()
{
    return current(ClinicSettings::Dispenser);
}

std::function<QString()> SettingsHolder::doctorReader()
{
    QPointer<SettingsHolder> self(this);
    return [self] { return self ? self->doctor() : QString(); };
}

} // namespace quilloa
