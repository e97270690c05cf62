#include "ui/maintenance/ReferenceExchange.h"

#include "core/exchange/ReferenceCsvExport.h"
#include "core/exchange/ReferenceImport.h"
#include "ui/common/PlainMessage.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPushButton>

#include <utility>

namespace quilloa {
namespace {

// A list file bigger than this is not a list of names; reading it whole would only stall.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

QPushButton* plainButton(const char* name, const QString& caption, QWidget* window)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)");

} // namespace

ReferenceExchange::ReferenceExchange(const AppContext& context, ReferenceList list, QWidget* window,
                                     std::function<void()> refill)
    : QObject(window), m_context(context), m_list(list), m_window(window),
      m_refill(std::move(refill))
{
    m_importButton = plainButton("CommandImport", QStringLiteral("导  入"), window);
    m_exportButton = plainButton("CommandExport", QStringLiteral("导  出"), window);
    connect(m_importButton, &QPushButton::clicked, this, &ReferenceExchange::importWithDialog);
    connect(m_exportButton, &QPushButton::clicked, this, &ReferenceExchange::exportWithDialog);
}

QString ReferenceExchange::listName() const
{
    switch (m_list) {
    case ReferenceList::Drugs:
        return QStringLiteral("药品");
    case ReferenceList::Diagnoses:
        return QStringLiteral("诊断");
    case ReferenceList::Addresses:
        return QStringLiteral("地址");
    }
    return QString();
}

ReferenceExchange::ImportReport ReferenceExchange::importFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return {false,
                QStringLiteral("无法读取文件“%1”。请确认它是一个不太大的 CSV 文件并且可以打开。")
                    .arg(QDir::toNativeSeparators(path)),
                QString()};
    const auto existing = m_context.settings().all(m_list);
    if (!existing.ok())
        return {false,
                QStringLiteral("无法读取%1库，没有导入任何条目。请关闭其他使用数据库的程序后再试。")
                    .arg(listName()),
                QString()};
    QStringList names;
    for (const ReferenceEntry& entry : existing.value())
        names << entry.name();
    const ReferenceImport import = ReferenceImport::read(m_list, file.readAll(), names);
    if (!import.fileRefusal().isEmpty())
        return {false,
                QStringLiteral("文件“%1”%2，没有导入任何条目。请选择 CSV 文本文件；Excel 工作簿"
                               "请先在 Excel 中另存为“CSV UTF-8”再导入。")
                    .arg(QDir::toNativeSeparators(path), import.fileRefusal()),
                QString()};
    if (!import.store(m_context.settings()).ok())
        return {false,
                QStringLiteral("保存到%1库时出错，没有导入任何条目。请确认磁盘还有空间后再试。")
                    .arg(listName()),
                import.refusalLines().join(QLatin1Char('\n'))};
    if (m_refill)
        m_refill();
    QString summary = QStringLiteral("已导入 %1 条%2（文件编码 %3）。")
                          .arg(import.entries().size())
                          .arg(listName(), TextDecoding::nameOf(import.encoding())) +
                      QLatin1Char('\n') + import.columnsText() + QStringLiteral("。");
    if (!import.duplicateLines().isEmpty())
        summary += QStringLiteral("\n%1 行与已有条目完全相同，已跳过。")
                       .arg(import.duplicateLines().size());
    if (!import.refused().isEmpty())
        summary +=
            QStringLiteral("\n%1 行没有导入，原因见详细信息：\n").arg(import.refused().size()) +
            import.refusalLines().mid(0, 10).join(QLatin1Char('\n'));
    return {true, summary, import.refusalLines().join(QLatin1Char('\n'))};
}

FileWriteStatus ReferenceExchange::exportFile(const QString& path)
{
    const auto entries = m_context.settings().all(m_list);
    if (!entries.ok())
        return FileWriteStatus::failure(
            QStringLiteral("无法读取%1库，没有导出。请关闭其他使用数据库的程序后再试。")
                .arg(listName()));
    return ReferenceCsvExport::write(m_list, entries.value(), path);
}

void ReferenceExchange::importWithDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        m_window, QStringLiteral("导入%1").arg(listName()), QDir::homePath(), kCsvFilter);
    if (path.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ImportReport report = importFile(path);
    QGuiApplication::restoreOverrideCursor();
    if (report.ok)
        PlainMessage::inform(m_window, m_window->windowTitle(), report.summary, report.details);
    else
        PlainMessage::warn(m_window, m_window->windowTitle(), report.summary, report.details);
}

void ReferenceExchange::exportWithDialog()
{
    QString path = QFileDialog::getSaveFileName(
        m_window, QStringLiteral("导出%1").arg(listName()),
        QDir::home().filePath(listName() + QStringLiteral(".csv")), kCsvFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    const FileWriteStatus written = exportFile(path);
    if (!written.ok())
        PlainMessage::warn(m_window, m_window->windowTitle(), written.message());
    else
        PlainMessage::inform(
            m_window, m_window->windowTitle(),
            QStringLiteral("%1已导出到“%2”。").arg(listName(), QDir::toNativeSeparators(path)));
}

} // namespace quilloa
