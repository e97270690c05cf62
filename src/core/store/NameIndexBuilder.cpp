#include "core/store/NameIndexBuilder.h"

#include "core/store/NameIndex.h"

namespace quilloa {
namespace {

// Leaves the event loop room between steps, so typing stays smooth while the index fills.
constexpr int kPauseMs = 5;

} // namespace

NameIndexBuilder::NameIndexBuilder(const StoreConnection& archive, QObject* parent)
    : QObject(parent), m_archive(archive)
{
    m_timer.setInterval(kPauseMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!step()) {
            m_timer.stop();
            emit finished();
        }
    });
}

void NameIndexBuilder::start()
{
    m_timer.start();
}

bool NameIndexBuilder::step()
{
    // A failure (store missing, locked, read-only) stops the building for this run; the next
    // start picks it up where it stopped, and searches meanwhile use the plain query.
    const StoreResult<bool> complete =
        NameIndex::build(m_archive, kRecordsPerBatch, QDeadlineTimer(kStepMs));
    return complete.ok() && !complete.value();
}

} // namespace quilloa
