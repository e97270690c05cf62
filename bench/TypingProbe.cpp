#include "TypingProbe.h"

#include <QApplication>
#include <QKeyEvent>

namespace quilloa::bench {
namespace {

// Keeps the box's text short, so a long run times the loop and not a growing line.
constexpr int kLongestText = 40;

} // namespace

TypingProbe::TypingProbe(int everyMs) : m_everyMs(everyMs)
{
    m_box.installEventFilter(this);
    // Each key is posted within a millisecond of when it is due, so the delay is the loop's.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &TypingProbe::typeDueKeys);
}

void TypingProbe::start()
{
    m_clock.start();
    m_typed = 0;
    m_due.clear();
    m_delays.clear();
    m_timer.start();
}

void TypingProbe::stop()
{
    m_timer.stop();
    // Keys still under way are let in and counted.
    QApplication::sendPostedEvents(&m_box, QEvent::KeyPress);
}

void TypingProbe::typeDueKeys()
{
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 every = qint64(m_everyMs) * 1000000;
    while ((m_typed + 1) * every <= now) {
        ++m_typed;
        m_due.push_back(m_typed * every);
        QApplication::postEvent(&m_box, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier,
                                                      QStringLiteral("a")));
    }
}

bool TypingProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_box && event->type() == QEvent::KeyPress && !m_due.empty()) {
        m_delays.append(double(m_clock.nsecsElapsed() - m_due.front()) / 1e6);
        m_due.pop_front();
        if (m_box.text().size() > kLongestText)
            m_box.clear();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quilloa::bench
