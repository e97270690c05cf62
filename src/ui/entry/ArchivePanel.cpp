#include "entry/ArchivePanel.h"

#include "common/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace quilloa {
namespace {

constexpr int kRowIdRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kKeyRole = Qt::UserRole + 2;

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
    m_searchButton = new QPushButton(QStringLiteral("查询"), this);
    m_searchButton->setObjectName(QStringLiteral("Command2"));
    m_searchButton->setGeometry(twipsRect(2640, 180, 750, 735));
    m_archiveList = new QListWidget(this);
    m_archiveList->setObjectName(QStringLiteral("T1"));
    m_archiveList->setGeometry(twipsRect(120, 1020, 3315, 3735));
}

void ArchivePanel::rebuild()
{
    m_archiveList->clear();
    const auto entries = m_context.archive().firstEntries(kOpeningCap);
    if (entries.ok())
        setEntries(entries.value());
}

void ArchivePanel::setEntries(const QList<ArchiveEntry>& entries)
{
    m_archiveList->clear();
    for (const ArchiveEntry& entry : entries) {
        auto* item = new QListWidgetItem(entry.text(), m_archiveList);
        item->setData(kRowIdRole, entry.rowId);
        item->setData(kNameRole, entry.name);
        item->setData(kKeyRole, entry.key);
    }
}

ArchiveEntry ArchivePanel::entryOf(const QListWidgetItem* item)
{
    return {item->data(kRowIdRole).toLongLong(), item->data(kNameRole).toString(),
            item->data(kKeyRole).toString()};
}

std::optional<ArchiveEntry> ArchivePanel::selectedEntry() const
{
    const QList<QListWidgetItem*> selected = m_archiveList->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return entryOf(selected.first());
}

void ArchivePanel::removeSelectedLine()
{
    const QList<QListWidgetItem*> selected = m_archiveList->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}

} // namespace quilloa
