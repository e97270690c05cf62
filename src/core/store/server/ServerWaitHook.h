#pragma once

#include <chrono>

namespace quilloa {

// What the program does while a server call waits for its answer. The calls run on the window's
// thread, so without this the window would not even repaint while a server is slow; the window
// layer installs one (ServerWait::setHook) that keeps painting and, after a moment, shows that it
// is working. Core code knows only this interface.
class ServerWaitHook
{
public:
    virtual ~ServerWaitHook() = default;
    // Called every few tens of milliseconds while a call waits; `waited` counts from its start.
    virtual void waiting(std::chrono::milliseconds waited) = 0;
    // The call that waited has its answer, or gave up.
    virtual void finished() = 0;
};

} // namespace quilloa
