#include "ui/printing/WindowsPrintQueue.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace quilloa {

std::optional<PrinterChoice> WindowsPrintQueue::defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::nullopt;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    const QPageLayout layout = printer.pageLayout();
    PrinterChoice choice;
    choice.name = info.printerName();
    choice.paper.size = layout.pageSize().size(QPageSize::Millimeter);
    // The printable area of the portrait sheet, as the driver reports it.
    const QRectF paper(QPointF(0, 0), choice.paper.size);
    const QRectF printable = printer.pageRect(QPrinter::Millimeter);
    const QRectF area = printable.isEmpty() ? paper : printable;
    const QRectF full = printer.paperRect(QPrinter::Millimeter);
    choice.paper.unprintable =
        QMarginsF(area.left() - full.left(), area.top() - full.top(), full.right() - area.right(),
                  full.bottom() - area.bottom());
    return choice;
}

JobOutcome WindowsPrintQueue::submitPdf(const PrinterChoice&, const QString&, const QString&)
{
    JobOutcome outcome;
    outcome.message = QStringLiteral("Windows 的打印服务不接收 PDF 文件，没有打印。");
    return outcome;
}

} // namespace quilloa
