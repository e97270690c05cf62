#include "core/store/file/NameIndexBuilder.h"

#include "core/store/file/NameIndex.h"
#include "core/store/sql/ScopedConnection.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>

#include <algorithm>

namespace quilloa {
namespace {

// The fill waits only briefly for a lock: waiting to commit, it would keep the window's reads
// out all the while. Locked out, it tries again after a pause that doubles while the file
// stays taken, so a long save costs a few tries and another program's lock few wake-ups.
constexpr int kBusyMs = 50;
constexpr int kLongestBusyPauseMs = 2000;
// Between steps the file is left free at least as long as the step held it, and never longer
// than a connection waiting for the lock sleeps between its tries (the engine's longest
// sleep is 100 ms), so a save waiting on the window's thread is let in before the next step.
constexpr int kShortestPauseMs = 5;
constexpr int kLongestPauseMs = 120;

// Opened as the store's held connection opens it, minus what that opening already did to the
// file (its checks, upgrades and the rollback journal, which stays the file's own). Opening
// takes no lock.
bool openOwn(QSqlDatabase& db, const QString& path)
{
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
    return db.open();
}

} // namespace

NameIndexBuilder::NameIndexBuilder(const StoreConnection& archive, QObject* parent)
    : QObject(parent), m_archive(archive)
{
}

NameIndexBuilder::~NameIndexBuilder()
{
    {
        const QMutexLocker lock(&m_pauseLock);
        m_stop = true;
        m_wake.wakeAll();
    }
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void NameIndexBuilder::setPace(int recordsPerBatch, int stepMs)
{
    m_recordsPerBatch = recordsPerBatch;
    m_stepMs = stepMs;
}

void NameIndexBuilder::start()
{
    if (m_thread || m_archive.isServer())
        return;
    // Every start after the first finds the index complete: no thread, no second connection.
    // A store that cannot be read now is left alone, as every other operation on it fails too.
    const StoreResult<bool> complete = NameIndex::isComplete(m_archive);
    if (!complete.ok() || complete.value())
        return;
    m_thread = QThread::create([this] {
        const bool done = fill();
        // Told through this object's own thread, so a builder deleted meanwhile tells no one.
        if (!stopping())
            QMetaObject::invokeMethod(
                this, [this, done] { emit finished(done); }, Qt::QueuedConnection);
    });
    // At the normal priority: a fill starved of the processor while it holds the write lock
    // would keep a save waiting.
    m_thread->start();
}

bool NameIndexBuilder::isRunning() const
{
    return m_thread && !m_thread->isFinished();
}

bool NameIndexBuilder::fill()
{
    // The store's held connection belongs to the window's thread.
    ScopedConnection connection(QStringLiteral("QSQLITE"), QStringLiteral("name-index"));
    return openOwn(connection.db(), m_archive.path()) && fillOn(connection.db());
}

bool NameIndexBuilder::fillOn(QSqlDatabase& db)
{
    bool flushing = false;
    int busyPause = kShortestPauseMs;
    for (;;) {
        QElapsedTimer held;
        held.start();
        const StoreResult<bool> step = this->step(db, &flushing);
        if (step.ok() && step.value())
            return true;
        if (!step.ok() && step.fault() != StoreFault::Busy)
            return false;
        busyPause = step.ok() ? kShortestPauseMs : std::min(2 * busyPause, kLongestBusyPauseMs);
        const int rest = step.ok()
                             ? std::clamp(int(held.elapsed()), kShortestPauseMs, kLongestPauseMs)
                             : busyPause;
        if (!pause(rest))
            return false;
    }
}

StoreResult<bool> NameIndexBuilder::step(QSqlDatabase& db, bool* flushing)
{
    // Flushed as fully as the store's held connection writes, so a power cut in a step leaves
    // a sound file. Set at the first step that gets the file: the setting reads the schema.
    if (!*flushing) {
        QSqlQuery pragma(db);
        if (!pragma.exec(QStringLiteral("PRAGMA synchronous=FULL")))
            return StoreStatus::failure(pragma.lastError(), m_archive.path());
        *flushing = true;
    }
    return NameIndex::build(db, m_archive.path(), m_recordsPerBatch, QDeadlineTimer(m_stepMs),
                            [this] { return stopping(); });
}

bool NameIndexBuilder::pause(int milliseconds)
{
    const QMutexLocker lock(&m_pauseLock);
    if (!m_stop)
        m_wake.wait(&m_pauseLock, QDeadlineTimer(milliseconds));
    return !m_stop;
}

} // namespace quilloa
