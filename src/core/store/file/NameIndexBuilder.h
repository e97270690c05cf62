#pragma once

#include "core/store/StoreConnection.h"

#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <atomic>

class QSqlDatabase;
class QThread;

namespace quilloa {

// Fills the name index of an archive stored before the index existed, on a thread of its own
// with a connection of its own, so that typing never waits for it: not for its reading, nor for
// the flush of its commits, which no time limit bounds on a busy disk. Until it is done,
// searches use the plain query and stay correct; they use the index as soon as it is complete.
//
// The fill writes in short transactions and leaves the file free between them at least as long
// as it held it, so a save of the window's thread waiting for the lock gets it within its busy
// timeout. A failure (the store missing, read-only, full) stops the fill for this run, and the
// next start picks it up where it stopped; another program's lock only makes it wait and try
// again.
class NameIndexBuilder : public QObject
{
    Q_OBJECT
public:
    // A step indexes records this many at a time, a millisecond or two each, and stops taking
    // more once its time is up, so the time the fill holds the file's write lock no longer
    // grows with what the records hold; the commit after it still waits for the disk.
    static constexpr int kRecordsPerBatch = 100;
    static constexpr int kStepMs = 5;

    explicit NameIndexBuilder(const StoreConnection& archive, QObject* parent = nullptr);
    // Stops the fill within a step: the step under way is rolled back whole.
    ~NameIndexBuilder() override;
    NameIndexBuilder(const NameIndexBuilder&) = delete;
    NameIndexBuilder& operator=(const NameIndexBuilder&) = delete;

    // Smaller steps than the program's own, for a fill that must be seen half way.
    void setPace(int recordsPerBatch, int stepMs);
    // Starts the fill when the index is not complete; a server keeps its own indexes.
    void start();
    bool isRunning() const;

signals:
    // The fill that start() began has ended, on this object's thread: complete, or stopped by
    // a failure (searches then keep the plain query).
    void finished(bool complete);

private:
    // On the fill's thread.
    bool fill();
    bool fillOn(QSqlDatabase& db);
    StoreResult<bool> step(QSqlDatabase& db, bool* flushing);
    // Waits `milliseconds` unless asked to stop; whether to go on.
    bool pause(int milliseconds);
    bool stopping() const { return m_stop; }

    StoreConnection m_archive;
    int m_recordsPerBatch = kRecordsPerBatch;
    int m_stepMs = kStepMs;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop = false;
    QMutex m_pauseLock;
    QWaitCondition m_wake;
};

} // namespace quilloa
