#pragma once

#include "core/maintenance/ReferenceLines.h"

#include <QAbstractListModel>

namespace quilloa {

// The lines of a maintenance window's list over the entries as they were read: a line's name
// is handed to the view only when it is drawn, so 20,000 entries show without a string list
// being built first.
class ReferenceListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ReferenceListModel(QObject* parent = nullptr);

    const ReferenceLines& lines() const { return m_lines; }
    void reset(QList<ReferenceEntry> entries);
    void append(const ReferenceEntry& entry);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    ReferenceLines m_lines;
};

} // namespace quilloa
