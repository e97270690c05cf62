#include "ui/entry/DrugPanel.h"

#include "ui/common/CodeComposition.h"
#include "ui/common/FixedRowDelegate.h"
#include "ui/entry/DrugPanelLayout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace quilloa {

DrugPanel::DrugPanel(const AppContext& context, QWidget* parent)
    : QFrame(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame2"));
    setFrameShape(QFrame::StyledPanel);
    m_caption = new QLabel(QStringLiteral("拼音码查询："), this);
    m_caption->setObjectName(QStringLiteral("Label5_17"));
    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(QStringLiteral("Text1"));
    m_searchBox->installEventFilter(this);
    m_drugList = new QListWidget(this);
    m_drugList->setObjectName(QStringLiteral("List1"));
    m_drugList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_drugList->setUniformItemSizes(true);
    // All 18 drugs stand in the list's height; a long entry is cut short with "…" rather than
    // taking a line's worth of height for a scroll bar.
    m_drugList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_drugList->setItemDelegate(new FixedRowDelegate(m_drugList, kListCap));
    m_drugList->installEventFilter(this);
    TwipsLayout::apply(this, drugpanel::kPlacements);

    connect(m_searchBox, &QLineEdit::textChanged, this, &DrugPanel::refill);
    connect(CodeComposition::watch(m_searchBox), &CodeComposition::composing, this,
            &DrugPanel::showMatches);
    connect(m_drugList, &QListWidget::itemClicked, this, &DrugPanel::pickSelected);
}

void DrugPanel::showFirstDrugs()
{
    showDrugs(m_context.settings().all(ReferenceList::Drugs, kListCap));
}

void DrugPanel::refill()
{
    showMatches(m_searchBox->text());
}

void DrugPanel::refresh()
{
    if (m_searchBox->text().isEmpty())
        showFirstDrugs();
    else
        refill();
}

void DrugPanel::showMatches(const QString& text)
{
    showDrugs(m_context.settings().lookup(ReferenceList::Drugs, text,
                                          SettingsStore::CodeMatch::Contains, kListCap));
}

void DrugPanel::showDrugs(const StoreResult<QList<ReferenceEntry>>& drugs)
{
    m_drugList->clear();
    if (!drugs.ok()) {
        // Told in the list itself, so a failed lookup never passes for "no such drug" and the
        // typing goes on; the line cannot be picked.
        auto* failed = new QListWidgetItem(QStringLiteral("查询失败：%1").arg(drugs.error()));
        failed->setFlags(Qt::NoItemFlags);
        failed->setToolTip(failed->text());
        m_drugList->addItem(failed);
        return;
    }
    QStringList names;
    for (const ReferenceEntry& drug : drugs.value())
        names << drug.name();
    m_drugList->addItems(names);
}

void DrugPanel::pickSelected()
{
    const QList<QListWidgetItem*> selected = m_drugList->selectedItems();
    if (!selected.isEmpty())
        emit drugPicked(selected.first()->text());
    // Emptying the box is a change like any other: the list shows the first drugs again.
    m_searchBox->clear();
    m_searchBox->setFocus(Qt::OtherFocusReason);
}

// Down leads from the box into the list, starting at its first drug, so Down and Enter pick it.
void DrugPanel::enterList()
{
    if (m_drugList->selectedItems().isEmpty() && m_drugList->count() > 0)
        m_drugList->setCurrentRow(std::max(0, m_drugList->currentRow()));
    m_drugList->setFocus(Qt::OtherFocusReason);
}

bool DrugPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_searchBox && searchBoxEvent(event))
        return true;
    if (watched == m_drugList && drugListEvent(event))
        return true;
    return QFrame::eventFilter(watched, event);
}

bool DrugPanel::searchBoxEvent(QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        emit searchBoxFocused();
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        enterList();
        return true;
    }
    return false;
}

bool DrugPanel::drugListEvent(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    pickSelected();
    return true;
}

} // namespace quilloa
