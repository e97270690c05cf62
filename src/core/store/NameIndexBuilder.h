#pragma once

#include "core/store/StoreConnection.h"

#include <QObject>
#include <QTimer>

namespace quilloa {

// Fills the name index of an archive stored before the index existed, a short step at a time
// while the program is otherwise idle, so neither start-up nor any window waits for the whole
// archive to be read. Until it is done, searches use the plain query and stay correct.
class NameIndexBuilder : public QObject
{
    Q_OBJECT
public:
    // A step indexes records this many at a time, a millisecond or two each, and stops taking
    // more once its time is up, so the work of a step no longer grows with what the records
    // hold. The commit after it still waits for the disk to flush what was written.
    static constexpr int kRecordsPerBatch = 100;
    static constexpr int kStepMs = 5;

    NameIndexBuilder(const StoreConnection& archive, QObject* parent = nullptr);

    // Begins stepping once the event loop runs; nothing happens before.
    void start();
    bool isRunning() const { return m_timer.isActive(); }
    // One step; false once the index is complete or cannot be built now.
    bool step();

signals:
    void finished();

private:
    StoreConnection m_archive;
    QTimer m_timer;
};

} // namespace quilloa
