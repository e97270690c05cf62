#pragma once

#include "core/printing/PrintQueue.h"

namespace quilloa {

// The Windows print service as Qt's print engine sees it: the default printer with its default
// paper and the strips it cannot print. Windows takes no finished PDF document, so the pages go
// to the printer through WindowsPrinterPageDevice instead of submitPdf().
class WindowsPrintQueue : public PrintQueue
{
public:
    std::optional<PrinterChoice> defaultPrinter() override;
    JobOutcome submitPdf(const PrinterChoice& printer, const QString& pdfPath,
                         const QString& jobName) override;
};

} // namespace quilloa
