#include "ui/printing/WindowsPrinterPageDevice.h"

#include <QPageLayout>
#include <QPrinter>

#include <utility>

namespace quilloa {

WindowsPrinterPageDevice::WindowsPrinterPageDevice(PrintQueue& queue, QString jobName)
    : m_queue(queue), m_jobName(std::move(jobName))
{
}

WindowsPrinterPageDevice::~WindowsPrinterPageDevice() = default;

bool WindowsPrinterPageDevice::begin()
{
    clearError();
    m_printer = m_queue.defaultPrinter();
    if (!m_printer)
        return fail(m_queue.absenceMessage());
    setPaper(m_printer->paper);
    return PainterPageDevice::begin();
}

bool WindowsPrinterPageDevice::openTarget(QPainter& painter, QSizeF pageMillimetres,
                                          PageOrientation)
{
    m_target = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_target->setPrinterName(m_printer->name);
    m_target->setDocName(m_jobName);
    m_target->setFullPage(true);
    // The page is given in its printed orientation: a landscape page is wider than tall.
    const bool wide = pageMillimetres.width() > pageMillimetres.height();
    const QSizeF upright = wide ? pageMillimetres.transposed() : pageMillimetres;
    m_target->setPageLayout(QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                                        wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                                        QMarginsF()));
    if (!m_target->isValid() || !painter.begin(m_target.get()))
        return fail(refusal());
    return true;
}

bool WindowsPrinterPageDevice::nextTargetPage(QPainter&)
{
    return m_target->newPage() || fail(refusal());
}

bool WindowsPrinterPageDevice::closeTarget(QPainter& painter)
{
    const bool ended = painter.end();
    // The spooler's verdict on the whole job: an aborted or refused job leaves the error state.
    const bool taken = ended && m_target->printerState() != QPrinter::Error &&
                       m_target->printerState() != QPrinter::Aborted;
    m_target.reset();
    return taken || fail(refusal());
}

QString WindowsPrinterPageDevice::refusal() const
{
    return QStringLiteral("打印机“%1”没有接受这份打印（%2）。请在 Windows 的“打印机和扫描仪”中"
                          "查看这台打印机是否联机、有纸，然后再打印一次。")
        .arg(m_printer ? m_printer->name : QString(), m_jobName);
}

} // namespace quilloa
