#include "core/entry/SheetLife.h"

#include <utility>

namespace quilloa {

SheetLife::SheetLife(ArchiveStore archive) : m_archive(std::move(archive)) {}

void SheetLife::start(const QDateTime& now)
{
    m_key = now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    m_state = State::NewSheet;
    m_withdrawn = false;
}

StoreResult<qint64> SheetLife::save(const SheetFields& typed, const QString& storedBody)
{
    if (m_state != State::NewSheet)
        return StoreStatus::failure(QStringLiteral("没有新建的处方可保存。"));
    PrescriptionRecord record;
    record.key = m_key;
    typed.fillRecord(record);
    record.body = storedBody;
    StoreResult<qint64> stored = m_archive.add(record);
    if (stored.ok())
        m_state = State::NoSheet;
    return stored;
}

StoreResult<PrescriptionRecord> SheetLife::show(qint64 rowId)
{
    const auto found = m_archive.recordAt(rowId);
    if (found.ok() && found.value()) {
        m_key = found.value()->key;
        m_state = State::Viewing;
        m_withdrawn = false;
        return *found.value();
    }
    // A record that cannot be read must not leave another patient's sheet under its entry.
    if (m_state != State::NewSheet)
        withdraw();
    if (!found.ok())
        return StoreStatus(found);
    return StoreStatus::failure(QStringLiteral("该档案已不存在，可能已被删除。请重新查询。"));
}

void SheetLife::withdraw()
{
    m_key.clear();
    m_state = State::NoSheet;
    m_withdrawn = true;
}

StoreStatus SheetLife::remove(const ArchiveEntry& entry)
{
    const StoreStatus removed = m_archive.remove(entry.rowId, entry.key);
    if (removed.ok())
        return removed;
    // A record that is already gone may leave the list; one the store kept must not.
    const auto stillThere = m_archive.recordAt(entry.rowId);
    if (stillThere.ok() && !stillThere.value())
        return StoreStatus::success();
    return removed;
}

SheetFields SheetLife::pasted(const QString& visitDate) const
{
    SheetFields pasted = m_clip;
    pasted[sheet::VisitDateField] = visitDate;
    return pasted;
}

} // namespace quilloa
