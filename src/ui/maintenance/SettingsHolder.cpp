#include "ui/maintenance/SettingsHolder.h"

#include "ui/maintenance/SettingsWindow.h"

namespace quilloa {

SettingsHolder::SettingsHolder(const AppContext& context, QWidget* owner)
    : QObject(owner), m_context(context), m_owner(owner)
{
}

SettingsWindow* SettingsHolder::window()
{
    if (!m_window) {
        m_window = new SettingsWindow(m_context, m_owner);
        // Closing discards the window; the next reader loads the stored values again.
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        // The window is deleted a moment after closing; from the close on it no longer counts.
        SettingsWindow* loaded = m_window;
        connect(loaded, &QDialog::finished, this, [this, loaded] {
            if (m_window == loaded)
                m_window.clear();
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

// A window whose settings could not be read tries again at every read, so one moment of a
// locked store does not leave blanks for the rest of the run.
StoreStatus SettingsHolder::readStatus()
{
    return window()->refresh();
}

QString SettingsHolder::clinicName()
{
    readStatus();
    return window()->text(SettingsWindow::ClinicNameBox);
}

QString SettingsHolder::doctor()
{
    readStatus();
    return window()->text(SettingsWindow::DoctorBox);
}

QString SettingsHolder::dispenser()
{
    readStatus();
    return window()->text(SettingsWindow::DispenserBox);
}

std::function<QString()> SettingsHolder::doctorReader()
{
    QPointer<SettingsHolder> self(this);
    return [self] { return self ? self->doctor() : QString(); };
}

} // namespace quilloa
