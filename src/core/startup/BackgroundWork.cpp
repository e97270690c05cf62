#include "core/startup/BackgroundWork.h"

#include <QDeadlineTimer>
#include <QThread>

namespace quilloa {

BackgroundWork::BackgroundWork(Work work, QObject* parent)
    : QObject(parent), m_work(std::move(work))
{
}

BackgroundWork::~BackgroundWork()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void BackgroundWork::start()
{
    if (m_thread)
        return;
    // Signals sent from the worker reach this object's thread queued.
    m_thread = QThread::create([this] {
        const QStringList notices = m_work([this](const QString& step) { emit stepStarted(step); });
        emit finished(notices);
    });
    m_thread->start();
}

bool BackgroundWork::isRunning() const
{
    return m_thread && !m_thread->isFinished();
}

bool BackgroundWork::wait(int milliseconds)
{
    return !m_thread || m_thread->wait(QDeadlineTimer(milliseconds));
}

} // namespace quilloa
