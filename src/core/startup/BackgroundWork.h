#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QThread;

namespace quilloa {

// Work that start-up hands to a thread of its own so that the first window opens at once: a
// backup day's copies. The work names each step as it begins and returns what the user must
// be told; both arrive on the thread that started it. The work opens its own connections: a
// store's held connection belongs to the thread that opened it.
class BackgroundWork : public QObject
{
    Q_OBJECT
public:
    using StepTeller = std::function<void(const QString& step)>;
    using Work = std::function<QStringList(const StepTeller& step)>;

    explicit BackgroundWork(Work work, QObject* parent = nullptr);
    // Waits for work under way: a copy is never cut off halfway.
    ~BackgroundWork() override;
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    void start();
    bool isRunning() const;
    // Waits until the work is done, at most `milliseconds`; whether it is.
    bool wait(int milliseconds);

signals:
    void stepStarted(const QString& step);
    void finished(const QStringList& notices);

private:
    Work m_work;
    QThread* m_thread = nullptr;
};

} // namespace quilloa
