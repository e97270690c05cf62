#pragma once

#include "core/startup/AppContext.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace quilloa {

class SettingsWindow;

// Keeps the settings window, which is where the program reads the clinic name, the default
// doctor and the default dispenser while it runs. Reading a value when the window is not loaded
// loads it invisibly from the stores; it stays loaded until the user closes it, so values typed
// into the open window count before they are stored.
class SettingsHolder : public QObject
{
    Q_OBJECT
public:
    // The window is created as a child window of `owner`.
    SettingsHolder(const AppContext& context, QWidget* owner);

    bool isLoaded() const { return !m_window.isNull(); }
    // The loaded window, loading it (hidden) first when needed.
    SettingsWindow* window();
    // Shows the window, loading it first when needed, and brings it to the front.
    void show();

    // Whether the loaded window holds the stored settings, reading them again when it did not.
    StoreStatus readStatus();

    QString clinicName();
    QString doctor();
    QString dispenser();
    // Reads the doctor as it stands at the moment of the call, for other windows.
    std::function<QString()> doctorReader();

private:
    AppContext m_context;
    QWidget* m_owner = nullptr;
    QPointer<SettingsWindow> m_window;
};

} // namespace quilloa
