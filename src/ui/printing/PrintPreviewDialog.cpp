#include "ui/printing/PrintPreviewDialog.h"

#include "core/printing/PrintQueue.h"
#include "ui/common/ScreenPlacement.h"
#include "ui/printing/PdfPageDevice.h"
#include "ui/printing/PicturePageDevice.h"
#include "ui/printing/PreviewPages.h"
#include "ui/printing/PrintPreviewLayout.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <utility>

namespace quilloa {

PrintPreviewDialog::PrintPreviewDialog(PrintRunner::Drawing drawing, QString jobName,
                                       PrintQueue& queue, QWidget* parent)
    : QDialog(parent), m_drawing(std::move(drawing)), m_jobName(std::move(jobName)), m_queue(queue)
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("打印预览 - %1").arg(m_jobName));
    if (const std::optional<PrinterChoice> printer = m_queue.defaultPrinter()) {
        m_paper = printer->paper;
        m_printerName = printer->name;
        m_paperKnown = printer->paperKnown;
    }
    buildControls();
    render();
    resize(ScreenPlacement::fitted(printpreview::kPreferredSize));
}

void PrintPreviewDialog::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("previewNote"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("previewScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::StrongFocus);
    m_pages = new PreviewPages(m_scroll);
    m_scroll->setWidget(m_pages);
    layout->addWidget(m_scroll, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(QStringLiteral("打印"), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("previewPrint"));
    QPushButton* save =
        buttons->addButton(QStringLiteral("另存为 PDF…"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("previewSavePdf"));
    QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("previewClose"));
    connect(print, &QPushButton::clicked, this, &PrintPreviewDialog::print);
    connect(save, &QPushButton::clicked, this, &PrintPreviewDialog::chooseAndSave);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void PrintPreviewDialog::render()
{
    PicturePageDevice device(m_paper);
    const bool drawn = m_drawing(device);
    const QSizeF page =
        device.pageMillimetres().isEmpty() ? m_paper.size : device.pageMillimetres();
    const QMarginsF strips = m_paper.unprintableOnPage(device.pageOrientation());
    const QRectF printable = QRectF(QPointF(0, 0), page).marginsRemoved(strips);
    const double dpi = device.pages().isEmpty() ? 96 : device.pages().first().logicalDpiX();
    m_pages->setPages(device.pages(), dpi, page, printable);

    const QString paper = QStringLiteral("纸张 %1 × %2 毫米")
                              .arg(m_paper.size.width(), 0, 'f', 0)
                              .arg(m_paper.size.height(), 0, 'f', 0);
    const QString absent = m_queue.lastAbsence() == PrintQueue::Absence::ServiceUnreachable
                               ? QStringLiteral("无法连接打印服务，按 A4 纸显示。")
                               : QStringLiteral("没有找到默认打印机，按 A4 纸显示。");
    QString note = m_printerName.isEmpty()
                       ? absent
                       : QStringLiteral("打印机“%1”，%2。").arg(m_printerName, paper);
    if (!m_printerName.isEmpty() && !m_paperKnown) {
        note = QStringLiteral("无法确定打印机“%1”用的纸张，按 A4 纸显示；这样不能打印，请先在"
                              "系统的打印机设置中为它选定默认纸张。")
                   .arg(m_printerName);
    }
    note += QStringLiteral("蓝色虚线框内是打印机能印到的范围。");
    if (device.scale() < 1) {
        note += QStringLiteral("内容比这张纸大，已整体缩小到 %1%，没有内容被裁掉。")
                    .arg(qRound(device.scale() * 100));
    }
    if (!drawn) {
        note += QStringLiteral(" 预览没有画完：%1").arg(device.errorText());
    }
    m_note->setText(note);
}

// The page keys turn the pages wherever the focus stands, on a button too, so a page taller
// than the screen is read without a mouse wheel.
void PrintPreviewDialog::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = m_scroll->verticalScrollBar();
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageDown:
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_PageUp:
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_Home:
        if (!control)
            return QDialog::keyPressEvent(event);
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        if (!control)
            return QDialog::keyPressEvent(event);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PrintPreviewDialog::noteContinuation(const QString& sentence)
{
    m_note->setText(m_note->text() + QLatin1Char(' ') + sentence);
    m_pages->markContinuation(QStringLiteral("—— 以下接下一张 ——"));
}

int PrintPreviewDialog::pageCount() const
{
    return m_pages->pageCount();
}

void PrintPreviewDialog::print()
{
    PrintQueue& queue = m_queue;
    const QString jobName = m_jobName;
    const PrintRunner::DeviceFactory spooler = [&queue, jobName] {
        return PrintRunner::systemDevice(queue, jobName);
    };
    if (PrintRunner::print(this, m_drawing, m_jobName, spooler)) {
        accept();
    }
}

bool PrintPreviewDialog::saveAsPdf(const QString& fileName)
{
    PdfPageDevice device(fileName, m_paper);
    device.setTitle(m_jobName);
    if (m_drawing(device)) {
        return true;
    }
    PrintRunner::showFailure(this, device.errorText());
    return false;
}

void PrintPreviewDialog::chooseAndSave()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString suggested = m_jobName;
    suggested.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString fileName =
        QFileDialog::getSaveFileName(this, QStringLiteral("另存为 PDF"),
                                     folder + QLatin1Char('/') + suggested + QStringLiteral(".pdf"),
                                     QStringLiteral("PDF 文件 (*.pdf)"));
    if (!fileName.isEmpty()) {
        saveAsPdf(fileName);
    }
}

} // namespace quilloa
