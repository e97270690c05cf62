#pragma once

#include "core/printing/PrintQueue.h"
#include "ui/printing/PainterPageDevice.h"

#include <memory>
#include <optional>

class QPrinter;

namespace quilloa {

// The default printer of Windows as a page device: the pages are painted through Qt's print
// engine straight into a spooler job of the given name, on the printer's default paper. end()
// is true only when the spooler took the whole job; otherwise errorText() says why in words
// for the user.
class WindowsPrinterPageDevice : public PainterPageDevice
{
public:
    WindowsPrinterPageDevice(PrintQueue& queue, QString jobName);
    ~WindowsPrinterPageDevice() override;

    bool begin() override;

protected:
    bool openTarget(QPainter& painter, QSizeF pageMillimetres,
                    PageOrientation orientation) override;
    bool nextTargetPage(QPainter& painter) override;
    bool closeTarget(QPainter& painter) override;

private:
    QString refusal() const;

    PrintQueue& m_queue;
    QString m_jobName;
    std::optional<PrinterChoice> m_printer;
    std::unique_ptr<QPrinter> m_target;
};

} // namespace quilloa
