#include "ui/maintenance/BackupWindow.h"

#include "core/backup/BackupCatalog.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/DriveFolderChoice.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/ScreenPlacement.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quilloa {
namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 420;

QPushButton* plainButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

BackupWindow::BackupWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("BackupWindow"));
    setWindowTitle(QStringLiteral("恢复备份"));
    setFont(ChineseFaces::font(u"宋体", 9));
    buildControls();
    resize(ScreenPlacement::fitted(QSize(kInitialWidth, kInitialHeight)));
    refresh();
}

void BackupWindow::buildControls()
{
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("BackupList"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("备份"), QStringLiteral("日期"),
                                        QStringLiteral("处方数"), QStringLiteral("最后就诊日期"),
                                        QStringLiteral("检查结果")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // On a server the copies are the server's exports; putting one back is not done from here.
    const QString hint =
        m_context.location().isServer()
            ? QStringLiteral("数据存放在数据库服务器上。这里列出的是从服务器导出的备份，可以"
                             "查看，不能在这台电脑上放回服务器。")
            : QStringLiteral("恢复前，现在的数据会先另存到备份文件夹中的“恢复前”文件夹，"
                             "不会丢失。");
    m_hint = new QLabel(hint, this);
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setWordWrap(true);

    m_restoreButton = plainButton("RestoreButton", QStringLiteral("恢复"), this);
    QPushButton* backUp = plainButton("BackupNowButton", QStringLiteral("立即备份"), this);
    QPushButton* choose =
        plainButton("ChooseFolderButton", QStringLiteral("从其他文件夹恢复…"), this);
    choose->setEnabled(!m_context.location().isServer());
    QPushButton* quit = plainButton("QuitButton", QStringLiteral("退  出"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_restoreButton);
    buttons->addWidget(backUp);
    buttons->addWidget(choose);
    buttons->addStretch();
    buttons->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_hint);
    layout->addLayout(buttons);

    connect(m_restoreButton, &QPushButton::clicked, this, &BackupWindow::restoreSelected);
    connect(backUp, &QPushButton::clicked, this, &BackupWindow::backUpAndTell);
    connect(choose, &QPushButton::clicked, this, &BackupWindow::chooseFolder);
    connect(quit, &QPushButton::clicked, this, &QDialog::close);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &BackupWindow::updateRestoreButton);
}

void BackupWindow::refresh()
{
    const QString selected = selectedFolder();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_copies = m_chosenFolder.isEmpty() ? BackupCatalog::list(m_context.paths())
                                        : BackupCatalog::listIn(m_chosenFolder);
    QGuiApplication::restoreOverrideCursor();
    showCopies();
    selectFolder(selected);
}

void BackupWindow::showFolder(const QString& folder)
{
    m_chosenFolder = folder;
    refresh();
}

void BackupWindow::chooseFolder()
{
    const QString folder =
        DriveFolderChoice::ask(this, QStringLiteral("选择备份所在的文件夹（例如U盘）"));
    if (folder.isEmpty())
        return;
    showFolder(folder);
    if (m_copies.isEmpty())
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("文件夹“%1”中没有找到备份（档案.dat 和 设置.dat）。")
                               .arg(QDir::toNativeSeparators(folder)));
}

QString BackupWindow::selectedFolder() const
{
    const int row = m_table->currentRow();
    if (!m_table->selectionModel()->hasSelection() || row < 0 || row >= m_copies.size())
        return QString();
    return m_copies[row].folder;
}

// A new copy or a "恢复前" folder moves the others down: the line that stays selected is the
// same folder, never the same line number holding another backup.
void BackupWindow::selectFolder(const QString& folder)
{
    for (int row = 0; row < m_copies.size(); ++row) {
        if (!folder.isEmpty() && m_copies[row].folder == folder) {
            m_table->selectRow(row);
            return;
        }
    }
    m_table->clearSelection();
    m_table->setCurrentCell(-1, -1);
    updateRestoreButton();
}

void BackupWindow::showCopies()
{
    m_table->setRowCount(int(m_copies.size()));
    for (int row = 0; row < m_copies.size(); ++row) {
        const BackupCopy& copy = m_copies[row];
        m_table->setItem(row, 0, cell(copy.name));
        m_table->setItem(row, 1, cell(copy.date.toString(QStringLiteral("yyyy-MM-dd"))));
        m_table->setItem(row, 2, cell(copy.sound ? QString::number(copy.recordCount) : QString()));
        m_table->setItem(row, 3, cell(copy.sound ? copy.lastVisitDate : QString()));
        m_table->setItem(row, 4, cell(copy.sound ? QStringLiteral("完好") : copy.problem));
    }
    m_table->resizeColumnsToContents();
    updateRestoreButton();
}

void BackupWindow::updateRestoreButton()
{
    const int row = m_table->currentRow();
    const bool sound = m_table->selectionModel()->hasSelection() && row >= 0 &&
                       row < m_copies.size() && m_copies[row].sound;
    m_restoreButton->setEnabled(sound);
}

BackupRestore::Outcome BackupWindow::restoreLine(int line)
{
    if (line < 0 || line >= m_copies.size())
        return {false, QStringLiteral("请先在列表中选择要恢复的备份。"), QString()};
    const QString folder = m_copies[line].folder;
    const BackupRestore::Outcome outcome = BackupRestore::restore(m_context, m_copies[line]);
    if (outcome.ok)
        emit restored();
    refresh();
    selectFolder(folder);
    return outcome;
}

BackupRestore::Outcome BackupWindow::backUpNow()
{
    const BackupRestore::Outcome outcome = BackupRestore::backUpNow(m_context);
    refresh();
    return outcome;
}

void BackupWindow::restoreSelected()
{
    const int line = m_table->currentRow();
    if (line < 0 || line >= m_copies.size())
        return;
    if (m_context.location().isServer()) {
        // Nothing will be replaced, so there is nothing to confirm: only what to do instead.
        PlainMessage::warn(this, windowTitle(), restoreLine(line).message);
        return;
    }
    const BackupCopy& copy = m_copies[line];
    const QString question =
        QStringLiteral("确实要用备份“%1”（%2张处方，最后就诊日期 "
                       "%3）替换现在的全部数据吗？\n"
                       "现在的数据会先另存到“恢复前”文件夹。")
            .arg(copy.name)
            .arg(copy.recordCount)
            .arg(copy.lastVisitDate.isEmpty() ? QStringLiteral("无") : copy.lastVisitDate);
    if (!PlainMessage::ask(this, windowTitle(), question))
        return;
    const BackupRestore::Outcome outcome = restoreLine(line);
    if (outcome.ok)
        PlainMessage::inform(this, windowTitle(), outcome.message);
    else
        PlainMessage::warn(this, windowTitle(), outcome.message);
}

void BackupWindow::backUpAndTell()
{
    const BackupRestore::Outcome outcome = backUpNow();
    if (outcome.ok)
        PlainMessage::inform(this, windowTitle(), outcome.message);
    else
        PlainMessage::warn(this, windowTitle(), outcome.message);
}

} // namespace quilloa
