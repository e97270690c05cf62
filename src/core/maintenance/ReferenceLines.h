#pragma once

#include "core/records/ReferenceEntry.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace quilloa {

// The lines of a maintenance window's list and the entries they stand for, line for line (a
// ReferenceEntry is one stored row; ReferenceRows is how the store reads a list of them).
// Editing and deleting go to the row an entry came from, never to a position counted again in
// another query, so duplicate names, a narrowed search and entries without a code cannot
// redirect them to a neighbour.
class ReferenceLines
{
public:
    void reset(QList<ReferenceEntry> entries);
    void append(ReferenceEntry entry);
    void clear();

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // What the list shows: each entry's stored name, in the same order.
    QStringList names() const;
    // The entry of a line; none for a line that does not exist (e.g. -1, nothing selected).
    std::optional<ReferenceEntry> at(int line) const;
    std::optional<qint64> rowIdAt(int line) const;

private:
    QList<ReferenceEntry> m_entries;
};

} // namespace quilloa
