#pragma once

#include "core/printing/PrintQueue.h"
#include "ui/printing/PdfPageDevice.h"

#include <QTemporaryDir>

#include <optional>

namespace quilloa {

// The default printer as a page device: the pages are painted into a PDF document on the
// default printer's paper and, when the job ends, handed to the print service as one named
// job. end() is true only when the service accepted the job; otherwise errorText() says why
// in words for the user. The document lives in a private temporary folder that goes with the
// device.
class SpoolerPageDevice : public PdfPageDevice
{
public:
    SpoolerPageDevice(PrintQueue& queue, QString jobName);
    ~SpoolerPageDevice() override;

    bool begin() override;
    bool end() override;

    const JobOutcome& outcome() const { return m_outcome; }

private:
    PrintQueue& m_queue;
    QString m_jobName;
    std::optional<PrinterChoice> m_printer;
    JobOutcome m_outcome;
};

} // namespace quilloa
