#include "entry/LookupList.h"

#include <QKeyEvent>

namespace quilloa {

LookupList::LookupList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Reached by the Down key only, never by Tab or Enter moving along the tab order.
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QListWidget::itemClicked, this, [this] { emit picked(); });
}

bool LookupList::hasSelection() const
{
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected();
}

QString LookupList::selectedText() const
{
    return hasSelection() ? currentItem()->text() : QString();
}

void LookupList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit picked();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace quilloa
