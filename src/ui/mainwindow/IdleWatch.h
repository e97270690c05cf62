#pragma once

#include "core/startup/Clock.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

namespace quilloa {

// Tells when nobody has touched the program for the chosen number of minutes: every key,
// click, wheel turn or mouse move anywhere in the application counts as use. The time is read
// from the program's clock, so a test moves the clock instead of waiting.
class IdleWatch : public QObject
{
    Q_OBJECT
public:
    // `minutes` answers the current setting each time it is asked (0: never idle).
    IdleWatch(const Clock& clock, std::function<int()> minutes, QObject* parent = nullptr);
    ~IdleWatch() override;

    // Counts the idle time from now.
    void restart();
    // Emits idle() when the time has run out; the timer calls it every few seconds.
    void check();

signals:
    void idle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Clock& m_clock;
    std::function<int()> m_minutes;
    QDateTime m_lastInput;
    QTimer m_tick;
};

} // namespace quilloa
