#pragma once

#include "store/PrescriptionRecord.h"

#include <QAbstractListModel>
#include <QList>

namespace quilloa {

// The archive list's lines over the entries as they were read: a line's text 姓名[key] is made
// only when the view asks for it, so a search that lists every record shows at once however
// many lines it has.
class ArchiveListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    // The whole entry of a line, its row included.
    static constexpr int kEntryRole = Qt::UserRole;

    explicit ArchiveListModel(QObject* parent = nullptr);

    void setEntries(QList<ArchiveEntry> entries);
    void clear();
    const ArchiveEntry& entryAt(int line) const { return m_entries.at(line); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    QList<ArchiveEntry> m_entries;
};

} // namespace quilloa
