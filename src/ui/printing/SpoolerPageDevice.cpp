#include "ui/printing/SpoolerPageDevice.h"

#include "core/files/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include <utility>

namespace quilloa {

namespace {

// The user's runtime folder is private to the user and emptied at log-out; without one, the
// temporary folder, where QTemporaryDir makes a folder only its owner can enter.
QString jobFolderTemplate()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("quilloa-job-XXXXXX"));
}

} // namespace

SpoolerPageDevice::SpoolerPageDevice(PrintQueue& queue, QString jobName)
    : PdfPageDevice(QString()), m_queue(queue), m_jobName(std::move(jobName))
{
    setTitle(m_jobName);
}

SpoolerPageDevice::~SpoolerPageDevice()
{
    discardJobFile();
}

bool SpoolerPageDevice::prepareJobFile()
{
    discardJobFile();
    m_folder = std::make_unique<QTemporaryDir>(jobFolderTemplate());
    if (!m_folder->isValid() || !PrivateFiles::narrow(m_folder->path()))
        return false;
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    setFileName(m_folder->filePath(QStringLiteral("quilloa-job-%1.pdf").arg(name)));
    // The PDF writer truncates the file and keeps its mode.
    return PrivateFiles::createFile(fileName());
}

void SpoolerPageDevice::discardJobFile()
{
    if (!fileName().isEmpty())
        QFile::remove(fileName());
    m_folder.reset(); // removes the folder with anything left in it
}

bool SpoolerPageDevice::begin()
{
    clearError();
    m_outcome = JobOutcome();
    m_printer = m_queue.defaultPrinter();
    if (!m_printer) {
        return fail(m_queue.absenceMessage());
    }
    if (!m_printer->paperKnown) {
        return fail(PrintQueue::unknownPaperMessage(m_printer->name));
    }
    setPaper(m_printer->paper);
    if (!prepareJobFile() || !PdfPageDevice::begin()) {
        discardJobFile();
        return fail(QStringLiteral("无法准备打印的页面：临时文件夹不能写入。请检查磁盘空间后再"
                                   "打印一次。"));
    }
    return true;
}

bool SpoolerPageDevice::end()
{
    const bool drawn = PdfPageDevice::end();
    if (!drawn || !m_printer) {
        discardJobFile();
        return false;
    }
    m_outcome = m_queue.submitPdf(*m_printer, fileName(), m_jobName);
    discardJobFile();
    if (!m_outcome.accepted) {
        return fail(m_outcome.message);
    }
    return true;
}

} // namespace quilloa
