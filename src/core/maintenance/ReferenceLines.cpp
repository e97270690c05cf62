#include "core/maintenance/ReferenceLines.h"

#include <utility>

namespace quilloa {

void ReferenceLines::reset(QList<ReferenceEntry> entries)
{
    m_entries = std::move(entries);
}

void ReferenceLines::append(ReferenceEntry entry)
{
    m_entries.append(std::move(entry));
}

void ReferenceLines::clear()
{
    m_entries.clear();
}

QStringList ReferenceLines::names() const
{
    QStringList names;
    names.reserve(m_entries.size());
    for (const ReferenceEntry& entry : m_entries)
        names.append(entry.name());
    return names;
}

std::optional<ReferenceEntry> ReferenceLines::at(int line) const
{
    if (line < 0 || line >= m_entries.size())
        return std::nullopt;
    return m_entries.at(line);
}

std::optional<qint64> ReferenceLines::rowIdAt(int line) const
{
    const std::optional<ReferenceEntry> entry = at(line);
    if (!entry)
        return std::nullopt;
    return entry->rowId();
}

} // namespace quilloa
