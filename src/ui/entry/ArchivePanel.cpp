#include "entry/ArchivePanel.h"

#include "common/Twips.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

namespace quilloa {
namespace {

// Each line keeps the whole entry it shows, its row included.
constexpr int kEntryRole = Qt::UserRole;

} // namespace

ArchivePanel::ArchivePanel(const AppContext& context, QWidget* parent)
    : QFrame(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame3"));
    setFrameShape(QFrame::StyledPanel);
    m_nameCaption = new QLabel(QStringLiteral("患者姓名"), this);
    m_nameCaption->setObjectName(QStringLiteral("Label2"));
    m_nameCaption->setGeometry(twipsRect(120, 240, 720, 180));
    m_nameBox = new QLineEdit(this);
    m_nameBox->setObjectName(QStringLiteral("Text2"));
    m_nameBox->setGeometry(twipsRect(960, 180, 1575, 315));
    m_dateCaption = new QLabel(QStringLiteral("就诊日期"), this);
    m_dateCaption->setObjectName(QStringLiteral("Label8"));
    m_dateCaption->setGeometry(twipsRect(120, 660, 720, 180));
    m_dateBox = new QLineEdit(this);
    m_dateBox->setObjectName(QStringLiteral("Text3"));
    m_dateBox->setGeometry(twipsRect(960, 600, 1575, 315));
    m_dateBox->installEventFilter(this);
    m_searchButton =
        new QPushButton(QIcon(QStringLiteral(":/icons/search.svg")), QStringLiteral("查询"), this);
    m_searchButton->setObjectName(QStringLiteral("Command2"));
    m_searchButton->setGeometry(twipsRect(2640, 180, 750, 735));
    m_archiveList = new QListWidget(this);
    m_archiveList->setObjectName(QStringLiteral("T1"));
    m_archiveList->setGeometry(twipsRect(120, 1020, 3315, 3735));
    m_archiveList->setSelectionMode(QAbstractItemView::SingleSelection);
    // A search may list every record; lines of one height lay out at once.
    m_archiveList->setUniformItemSizes(true);

    connect(m_searchButton, &QPushButton::clicked, this, &ArchivePanel::search);
    connect(m_archiveList, &QListWidget::itemClicked, this, &ArchivePanel::lineClicked);
}

void ArchivePanel::rebuild()
{
    m_archiveList->clear();
    const auto entries = m_context.archive().firstEntries(kOpeningCap);
    if (entries.ok())
        setEntries(entries.value());
}

void ArchivePanel::search()
{
    m_archiveList->clear();
    // The typed texts are values of the query, never part of its text: a quote is a character.
    const auto found = m_context.archive().search(m_nameBox->text(), m_dateBox->text());
    if (found.ok())
        setEntries(found.value());
}

void ArchivePanel::setEntries(const QList<ArchiveEntry>& entries)
{
    m_archiveList->clear();
    QStringList lines;
    lines.reserve(entries.size());
    for (const ArchiveEntry& entry : entries)
        lines << entry.text();
    // All lines join the list at once; a search may list every record.
    m_archiveList->addItems(lines);
    // The record behind each line is no part of what shows, so the view need not hear of it.
    const QSignalBlocker quiet(m_archiveList->model());
    for (int row = 0; row < int(entries.size()); ++row)
        m_archiveList->item(row)->setData(kEntryRole, QVariant::fromValue(entries.at(row)));
}

ArchiveEntry ArchivePanel::entryOf(const QListWidgetItem* item)
{
    return item->data(kEntryRole).value<ArchiveEntry>();
}

std::optional<ArchiveEntry> ArchivePanel::selectedEntry() const
{
    const QList<QListWidgetItem*> selected = m_archiveList->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return entryOf(selected.first());
}

void ArchivePanel::lineClicked(QListWidgetItem* item)
{
    if (item)
        emit entryActivated(entryOf(item));
}

void ArchivePanel::fillToday()
{
    m_dateBox->setText(m_context.clock().now().toString(QStringLiteral("yyyy-MM-dd")));
    m_dateBox->end(false);
}

// Every click into the date box replaces whatever it held by today's date.
bool ArchivePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dateBox && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        fillToday();
    return QFrame::eventFilter(watched, event);
}

void ArchivePanel::removeSelectedLine()
{
    const QList<QListWidgetItem*> selected = m_archiveList->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}

} // namespace quilloa
