#pragma once

#include "core/store/server/ServerWaitHook.h"

#include <QPointer>

class QLabel;

namespace quilloa {

// What the windows do while a server call waits: they keep painting (the user's input waits
// until the call ends, so nothing typed goes to a half-finished action), and after half a second
// the pointer turns into the busy one and a note near the active window says what is going on.
// Installed once for the program's run; removes itself when it goes.
class ServerWaitIndicator : public ServerWaitHook
{
public:
    ServerWaitIndicator();
    ~ServerWaitIndicator() override;
    ServerWaitIndicator(const ServerWaitIndicator&) = delete;
    ServerWaitIndicator& operator=(const ServerWaitIndicator&) = delete;

    void waiting(std::chrono::milliseconds waited) override;
    void finished() override;

private:
    void show();

    QPointer<QLabel> m_note;
    bool m_shown = false;
};

} // namespace quilloa
