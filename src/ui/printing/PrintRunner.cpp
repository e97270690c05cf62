#include "ui/printing/PrintRunner.h"

#include "core/printing/PageDevice.h"
#include "ui/printing/CupsPrintQueue.h"
#include "ui/printing/SpoolerPageDevice.h"

#include <QApplication>
#include <QMessageBox>

namespace quilloa {

PrintQueue& PrintRunner::systemQueue()
{
    static CupsPrintQueue queue;
    return queue;
}

bool PrintRunner::print(QWidget* parent, const Drawing& drawing, const QString& jobName,
                        const DeviceFactory& factory)
{
    std::unique_ptr<PageDevice> device =
        factory ? factory() : std::make_unique<SpoolerPageDevice>(systemQueue(), jobName);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = drawing(*device);
    QApplication::restoreOverrideCursor();
    if (!printed) {
        showFailure(parent, device->errorText());
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
