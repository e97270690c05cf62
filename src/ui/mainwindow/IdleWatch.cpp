#include "ui/mainwindow/IdleWatch.h"

#include <QCoreApplication>
#include <QEvent>

#include <utility>

namespace quilloa {
namespace {

constexpr int kTickMilliseconds = 5000;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

IdleWatch::IdleWatch(const Clock& clock, std::function<int()> minutes, QObject* parent)
    : QObject(parent), m_clock(clock), m_minutes(std::move(minutes))
{
    restart();
    QCoreApplication::instance()->installEventFilter(this);
    connect(&m_tick, &QTimer::timeout, this, &IdleWatch::check);
    m_tick.start(kTickMilliseconds);
}

IdleWatch::~IdleWatch()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void IdleWatch::restart()
{
    m_lastInput = m_clock.now();
}

void IdleWatch::check()
{
    const int minutes = m_minutes();
    if (minutes <= 0) {
        restart(); // switched on later, it counts from then
        return;
    }
    if (m_lastInput.secsTo(m_clock.now()) >= qint64(minutes) * 60) {
        restart();
        emit idle();
    }
}

bool IdleWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (isUserInput(event->type()))
        restart();
    return QObject::eventFilter(watched, event);
}

} // namespace quilloa
