#include "ui/printing/SpoolerPageDevice.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <utility>

namespace quilloa {

namespace {

QString scratchPdfPath()
{
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QDir::temp().filePath(QStringLiteral("quilloa-job-%1.pdf").arg(name));
}

} // namespace

SpoolerPageDevice::SpoolerPageDevice(PrintQueue& queue, QString jobName)
    : PdfPageDevice(scratchPdfPath()), m_queue(queue), m_jobName(std::move(jobName))
{
    setTitle(m_jobName);
}

SpoolerPageDevice::~SpoolerPageDevice()
{
    QFile::remove(fileName());
}

bool SpoolerPageDevice::begin()
{
    clearError();
    m_outcome = JobOutcome();
    m_printer = m_queue.defaultPrinter();
    if (!m_printer) {
        return fail(m_queue.absenceMessage());
    }
    setPaper(m_printer->paper);
    if (!PdfPageDevice::begin()) {
        return fail(QStringLiteral("无法准备打印的页面：临时文件夹不能写入。请检查磁盘空间后再"
                                   "打印一次。"));
    }
    return true;
}

bool SpoolerPageDevice::end()
{
    const bool drawn = PdfPageDevice::end();
    if (!drawn || !m_printer) {
        QFile::remove(fileName());
        return false;
    }
    m_outcome = m_queue.submitPdf(*m_printer, fileName(), m_jobName);
    QFile::remove(fileName());
    if (!m_outcome.accepted) {
        return fail(m_outcome.message);
    }
    return true;
}

} // namespace quilloa
