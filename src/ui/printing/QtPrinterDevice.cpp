#include "printing/QtPrinterDevice.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace quilloa {

namespace {

constexpr int kTwipsPerInch = 1440;

QPageLayout::Orientation toQt(PageOrientation orientation)
{
    return orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait;
}

} // namespace

QtPrinterDevice::QtPrinterDevice()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
}

QtPrinterDevice::QtPrinterDevice(const QString& pdfFileName)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_pdfFileName(pdfFileName)
{
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(pdfFileName);
}

QtPrinterDevice::~QtPrinterDevice()
{
    // A job left running is still handed over rather than lost half-drawn in the spooler.
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

bool QtPrinterDevice::begin()
{
    m_error.clear();
    if (!m_printer) {
        return fail(QStringLiteral("没有默认打印机，无法打印。"));
    }
    if (m_painter.isActive()) {
        return true;
    }
    m_printer->setResolution(kTwipsPerInch);
    applyPageLayout();
    if (!m_painter.begin(m_printer.get())) {
        return fail(m_pdfFileName.isEmpty()
                        ? QStringLiteral("打印机拒绝了打印任务。")
                        : QStringLiteral("无法写入打印文件：%1").arg(m_pdfFileName));
    }
    m_painter.scale(m_printer->logicalDpiX() / double(kTwipsPerInch),
                    m_printer->logicalDpiY() / double(kTwipsPerInch));
    m_painter.setPen(QPen(Qt::black, 0)); // width 0: the thinnest line the device draws
    return true;
}

bool QtPrinterDevice::end()
{
    if (!m_painter.isActive()) {
        return fail(m_error.isEmpty() ? QStringLiteral("打印任务没有开始。") : m_error);
    }
    const bool ended = m_painter.end();
    if (!ended || m_printer->printerState() == QPrinter::Error) {
        return fail(QStringLiteral("打印任务未能完成。"));
    }
    return m_error.isEmpty();
}

void QtPrinterDevice::newPage()
{
    if (m_painter.isActive() && !m_printer->newPage()) {
        m_error = QStringLiteral("打印机无法开始新的一页。");
    }
}

void QtPrinterDevice::drawTextAt(QPointF topLeft, const QString& text, LineAdvance)
{
    if (!m_painter.isActive() || text.isEmpty()) {
        return;
    }
    const QFont font = currentQtFont();
    m_painter.setFont(font);
    // drawText() places the baseline; the printout asks for the top-left corner.
    const QFontMetricsF metrics(font, m_printer.get());
    m_painter.drawText(toDevice(topLeft) + QPointF(0, metrics.ascent()), text);
}

void QtPrinterDevice::drawLineBetween(QPointF from, QPointF to)
{
    if (m_painter.isActive()) {
        m_painter.drawLine(toDevice(from), toDevice(to));
    }
}

double QtPrinterDevice::lineHeight() const
{
    if (!m_printer) {
        return 0;
    }
    return QFontMetricsF(currentQtFont(), m_printer.get()).lineSpacing() / twipsPerUnit();
}

double QtPrinterDevice::textWidth(const QString& text) const
{
    if (!m_printer) {
        return 0;
    }
    return QFontMetricsF(currentQtFont(), m_printer.get()).horizontalAdvance(text) / twipsPerUnit();
}

void QtPrinterDevice::orientationChanged()
{
    m_orientationChosen = true;
    if (m_printer && m_painter.isActive()) {
        m_printer->setPageOrientation(toQt(orientation()));
    }
}

bool QtPrinterDevice::fail(const QString& error)
{
    m_error = error;
    return false;
}

void QtPrinterDevice::applyPageLayout()
{
    // Orientation and margins only take hold when set as a whole layout before the job starts.
    // A printout that chooses no orientation gets the printer's own.
    QPageLayout layout = m_printer->pageLayout();
    if (m_orientationChosen) {
        layout.setOrientation(toQt(orientation()));
    }
    layout.setMargins(layout.minimumMargins());
    m_printer->setPageLayout(layout);
    m_printer->setFullPage(false);
}

QFont QtPrinterDevice::currentQtFont() const
{
    // Sized in twips, which are this device's pixels; a point size would be resolved against
    // the printer's resolution and then scaled a second time by the painter.
    QFont qtFont(font().face);
    qtFont.setPixelSize(qMax(1, qRound(font().pointSize * kTwipsPerInch / 72.0)));
    qtFont.setBold(font().bold);
    return qtFont;
}

double QtPrinterDevice::twipsPerUnit() const
{
    return unit() == PageUnit::Millimetres ? kTwipsPerMillimetre : 1.0;
}

QPointF QtPrinterDevice::toDevice(QPointF position) const
{
    return (position - origin()) * twipsPerUnit();
}

} // namespace quilloa
