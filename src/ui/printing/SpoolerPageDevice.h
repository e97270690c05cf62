#pragma once

#include "core/printing/PrintQueue.h"
#include "ui/printing/PdfPageDevice.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace quilloa {

// The default printer as a page device: the pages are painted into a PDF document on the
// default printer's paper and, when the job ends, handed to the print service as one named
// job. end() is true only when the service accepted the job; otherwise errorText() says why
// in words for the user. The document is the owner's alone (a private folder in the user's
// runtime folder, the file 0600) and is removed as soon as the job was handed over or refused.
class SpoolerPageDevice : public PdfPageDevice
{
public:
    SpoolerPageDevice(PrintQueue& queue, QString jobName);
    ~SpoolerPageDevice() override;

    bool begin() override;
    bool end() override;
    QString noticeText() const override { return m_outcome.notice; }

    const JobOutcome& outcome() const { return m_outcome; }

private:
    bool prepareJobFile();
    void discardJobFile();

    PrintQueue& m_queue;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_jobName;
    std::optional<PrinterChoice> m_printer;
    JobOutcome m_outcome;
};

} // namespace quilloa
