#pragma once

#include "core/records/StoredNames.h"

#include <QAbstractListModel>

namespace quilloa {

// A lookup list's lines over the names as read: a name becomes a string only when its line is
// drawn or picked.
class StoredNamesModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit StoredNamesModel(QObject* parent = nullptr);

    void reset(StoredNames names);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    StoredNames m_names;
};

} // namespace quilloa
