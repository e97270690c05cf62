#pragma once

#include <QElapsedTimer>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QTimer>

#include <deque>

namespace quilloa::bench {

// Types into a line box at a steady pace, as a hand does, whatever the window's thread is busy
// with, and records how late each key press reached the box: what a typing user feels of
// anything that holds up the event loop. A key is due at its time on the steady pace, not when
// a late timer gets round to it, so a stalled loop shows as the full stall.
class TypingProbe : public QObject
{
public:
    explicit TypingProbe(int everyMs);

    void start();
    void stop();
    // Milliseconds from when each key was due until the box had it.
    const QList<double>& delays() const { return m_delays; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void typeDueKeys();

    int m_everyMs;
    QLineEdit m_box;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_typed = 0;
    std::deque<qint64> m_due; // nanoseconds on m_clock, of keys posted but not yet received
    QList<double> m_delays;
};

} // namespace quilloa::bench
