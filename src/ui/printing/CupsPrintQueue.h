#pragma once

#include "core/printing/PrintQueue.h"
#include "ui/printing/CupsConnection.h"

#include <chrono>

namespace quilloa {

// The print service through libcups: the default destination with its default paper, and
// jobs submitted as PDF documents whose IPP status is checked at every step. The spooler is
// told not to scale: the PDF pages are already the paper's size. No call to the service waits
// longer than `limit` for an answer.
class CupsPrintQueue : public PrintQueue
{
public:
    explicit CupsPrintQueue(std::chrono::milliseconds limit = CupsConnection::kDefaultLimit)
        : m_limit(limit)
    {
    }

    std::optional<PrinterChoice> defaultPrinter() override;
    JobOutcome submitPdf(const PrinterChoice& printer, const QString& pdfPath,
                         const QString& jobName) override;
    Absence lastAbsence() const override { return m_absence; }

private:
    std::chrono::milliseconds m_limit;
    Absence m_absence = Absence::NoPrinter;
};

} // namespace quilloa
