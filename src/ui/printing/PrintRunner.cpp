#include "ui/printing/PrintRunner.h"

#include "core/printing/PageDevice.h"
#ifdef Q_OS_WIN
#include "ui/printing/WindowsPrintQueue.h"
#include "ui/printing/WindowsPrinterPageDevice.h"
#else
#include "ui/printing/CupsPrintQueue.h"
#include "ui/printing/SpoolerPageDevice.h"
#endif

#include <QApplication>
#include <QMessageBox>

namespace quilloa {

#ifdef Q_OS_WIN
using SystemPrintQueue = WindowsPrintQueue;
using SystemPrinterDevice = WindowsPrinterPageDevice;
#else
using SystemPrintQueue = CupsPrintQueue;
using SystemPrinterDevice = SpoolerPageDevice;
#endif

PrintQueue& PrintRunner::systemQueue()
{
    static SystemPrintQueue queue;
    return queue;
}

std::unique_ptr<PageDevice> PrintRunner::systemDevice(PrintQueue& queue, const QString& jobName)
{
    return std::make_unique<SystemPrinterDevice>(queue, jobName);
}

bool PrintRunner::print(QWidget* parent, const Drawing& drawing, const QString& jobName,
                        const DeviceFactory& factory)
{
    std::unique_ptr<PageDevice> device = factory ? factory() : systemDevice(systemQueue(), jobName);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = drawing(*device);
    QApplication::restoreOverrideCursor();
    if (!printed) {
        showFailure(parent, device->errorText());
    } else if (!device->noticeText().isEmpty()) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("打印"), device->noticeText(),
                        QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    return printed;
}

void PrintRunner::showFailure(QWidget* parent, const QString& reason)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("打印"),
                    reason.isEmpty() ? QStringLiteral("这份没有打印成功，请再打印一次。") : reason,
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace quilloa
