#include "ui/entry/ArchivePanel.h"

#include "core/store/file/NameIndexBuilder.h"
#include "ui/common/PlainMessage.h"
#include "ui/entry/ArchiveListModel.h"
#include "ui/entry/ArchivePanelLayout.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace quilloa {

ArchivePanel::ArchivePanel(const AppContext& context, QWidget* parent)
    : QFrame(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame3"));
    setFrameShape(QFrame::StyledPanel);
    m_nameCaption = new QLabel(QStringLiteral("患者姓名"), this);
    m_nameCaption->setObjectName(QStringLiteral("Label2"));
    m_nameBox = new QLineEdit(this);
    m_nameBox->setObjectName(QStringLiteral("Text2"));
    m_dateCaption = new QLabel(QStringLiteral("就诊日期"), this);
    m_dateCaption->setObjectName(QStringLiteral("Label8"));
    m_dateBox = new QLineEdit(this);
    m_dateBox->setObjectName(QStringLiteral("Text3"));
    m_dateBox->installEventFilter(this);
    m_searchButton =
        new QPushButton(QIcon(QStringLiteral(":/icons/search.svg")), QStringLiteral("查询"), this);
    m_searchButton->setObjectName(QStringLiteral("Command2"));
    m_archiveList = new QListView(this);
    m_archiveList->setObjectName(QStringLiteral("T1"));
    m_lines = new ArchiveListModel(m_archiveList);
    m_archiveList->setModel(m_lines);
    m_archiveList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_archiveList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A search may list every record; lines of one height lay out at once.
    m_archiveList->setUniformItemSizes(true);
    TwipsLayout::apply(this, archivepanel::kPlacements);

    connect(m_searchButton, &QPushButton::clicked, this, &ArchivePanel::search);
    // Enter in either box searches, as the button would, so a name is found without the mouse.
    connect(m_nameBox, &QLineEdit::returnPressed, this, &ArchivePanel::search);
    connect(m_dateBox, &QLineEdit::returnPressed, this, &ArchivePanel::search);
    connect(m_archiveList, &QListView::clicked, this, &ArchivePanel::lineClicked);
    connect(m_lines, &ArchiveListModel::readFailed, this, &ArchivePanel::tellFailedSearch);
    m_archiveList->installEventFilter(this);
    m_archiveList->viewport()->installEventFilter(this);

    // An archive from before the name index fills it on a thread of its own. Searches use the
    // index once it is complete; the first of them is readied then, as at opening.
    m_indexBuilder = new NameIndexBuilder(m_context.archive().file(), this);
    connect(m_indexBuilder, &NameIndexBuilder::finished, this, [this](bool complete) {
        if (complete)
            m_context.archive().prepareNameSearch(ArchiveListModel::kPage);
    });
    m_indexBuilder->start();
    // Once the window is up, a quiet moment readies the first name search.
    QTimer::singleShot(kPrepareAfterMs, this,
                       [this] { m_context.archive().prepareNameSearch(ArchiveListModel::kPage); });
}

void ArchivePanel::rebuild()
{
    m_lines->clear();
    const auto entries = m_context.archive().firstEntries(kOpeningCap);
    if (entries.ok())
        setEntries(entries.value());
    else
        tellFailedList(entries.error());
}

void ArchivePanel::search()
{
    m_lines->clear();
    // The typed texts are values of the query, never part of its text: a quote is a character.
    const QString name = m_nameBox->text();
    const QString date = m_dateBox->text();
    const ArchiveStore archive = m_context.archive();
    // However many records a name is found in, only a page of them is read before the list
    // shows; the rest follow as it is scrolled.
    const auto found = archive.searchFirst(name, date, ArchiveListModel::kPage);
    if (!found.ok())
        tellFailedSearch(found.error());
    else if (found.value().paged)
        m_lines->setFirstPage(archive, name, date, found.value().rows);
    else
        setRows(found.value().rows);
}

void ArchivePanel::tellFailedSearch(const QString& error)
{
    // Told, so that a store that cannot be read never passes for "nothing found".
    PlainMessage::warn(this, QStringLiteral("查询"), QStringLiteral("档案查询失败：%1").arg(error));
}

// The list is filled as the window opens and after a save: told beside it, without holding up
// what comes next.
void ArchivePanel::tellFailedList(const QString& error)
{
    PlainMessage::notify(this, QStringLiteral("档案"),
                         QStringLiteral("档案列表读不出来：%1").arg(error));
}

void ArchivePanel::setEntries(const QList<ArchiveEntry>& entries)
{
    m_lines->setEntries(entries);
}

void ArchivePanel::setRows(QList<qint64> rows)
{
    m_lines->setRows(m_context.archive(), std::move(rows));
}

int ArchivePanel::lineCount() const
{
    return m_lines->rowCount();
}

QString ArchivePanel::lineText(int line) const
{
    return m_lines->index(line).data().toString();
}

int ArchivePanel::selectedLine() const
{
    const QModelIndexList selected = m_archiveList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

std::optional<ArchiveEntry> ArchivePanel::selectedEntry() const
{
    return m_lines->entryAt(selectedLine());
}

void ArchivePanel::lineClicked(const QModelIndex& index)
{
    if (const std::optional<ArchiveEntry> entry = m_lines->entryAt(index.row()))
        emit entryActivated(*entry);
}

void ArchivePanel::fillToday()
{
    m_dateBox->setText(m_context.clock().now().toString(QStringLiteral("yyyy-MM-dd")));
    // Selected, caret at the end: a date typed next replaces today's instead of following it.
    m_dateBox->selectAll();
}

// Every click into the date box replaces whatever it held by today's date. The list answers
// the keys a clicked line answers, so a day's work needs no mouse.
bool ArchivePanel::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_dateBox && type == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        fillToday();
    else if (watched == m_archiveList && type == QEvent::KeyPress &&
             listKeyPressed(*static_cast<QKeyEvent*>(event)))
        return true;
    else if (watched == m_archiveList->viewport() && type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && lineCount() > 0)
            emit menuWanted(mouse->globalPosition().toPoint());
    }
    return QFrame::eventFilter(watched, event);
}

bool ArchivePanel::listKeyPressed(const QKeyEvent& key)
{
    if (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        selectCurrentLine();
        if (const std::optional<ArchiveEntry> entry = selectedEntry())
            emit entryActivated(*entry);
        return true;
    case Qt::Key_Delete:
        selectCurrentLine();
        if (selectedEntry())
            emit deleteWanted();
        return true;
    case Qt::Key_Menu:
        if (lineCount() > 0)
            emit menuWanted(menuPositionForKeys());
        return true;
    case Qt::Key_F10:
        if (!(key.modifiers() & Qt::ShiftModifier))
            return false;
        if (lineCount() > 0)
            emit menuWanted(menuPositionForKeys());
        return true;
    default:
        return false;
    }
}

// Tab into the list marks its first line as current without selecting it; a key acts on the
// line the focus frame is drawn on.
void ArchivePanel::selectCurrentLine()
{
    const QModelIndex current = m_archiveList->currentIndex();
    if (selectedLine() < 0 && current.isValid())
        m_archiveList->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

// Opened by a key, the menu stands at the selected line, or at the list's corner without one.
QPoint ArchivePanel::menuPositionForKeys() const
{
    const int line = selectedLine();
    const QRect place = line >= 0 ? m_archiveList->visualRect(m_lines->index(line)) : QRect();
    const QPoint local = place.isValid() ? place.bottomLeft() : QPoint(0, 0);
    return m_archiveList->viewport()->mapToGlobal(local);
}

void ArchivePanel::removeSelectedLine()
{
    const int line = selectedLine();
    if (line >= 0)
        m_lines->removeRows(line, 1);
}

} // namespace quilloa
