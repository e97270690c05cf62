#pragma once

#include "core/settings/ClinicSettings.h"
#include "core/settings/IdleLockSetting.h"
#include "core/startup/AppContext.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace quilloa {

class SettingsWindow;

// Keeps the program's clinic settings and the window that edits them. The settings are read
// from the stores at the first use and held; values typed into the open window count at once,
// before they are stored. Closing the window drops what it held, so the next reader reads the
// stores again.
class SettingsHolder : public QObject
{
    Q_OBJECT
public:
    // The window is created as a child window of `owner`.
    SettingsHolder(const AppContext& context, QWidget* owner);

    // Whether settings are held: read, or open in the window.
    bool isLoaded() const;
    ClinicSettings* settings() const { return m_settings; }
    // The window, made (hidden) first when needed.
    SettingsWindow* window();
    // Shows the window, making it first when needed, and brings it to the front.
    void show();
    // Closes the window and drops the settings held, for stores replaced under the program.
    void drop();

    // Whether the settings held are the stored ones, reading them again when they were not.
    StoreStatus readStatus();

    QString clinicName();
    QString doctor();
    QString dispenser();
    // Reads the doctor as it stands at the moment of the call, for other windows.
    std::function<QString()> doctorReader();

private:
    QString current(ClinicSettings::Field field);

    QWidget* m_owner = nullptr;
    ClinicSettings* m_settings = nullptr;
    IdleLockSetting m_idleLock;
    QPointer<SettingsWindow> m_window;
};

} // namespace quilloa
