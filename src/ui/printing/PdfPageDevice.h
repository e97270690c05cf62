#pragma once

#include "ui/printing/PainterPageDevice.h"

#include <memory>

class QPdfWriter;

namespace quilloa {

// Pages painted into a PDF file at 1440 dots per inch, each page the whole paper, so that a
// spooler that is told not to scale prints every item exactly where it was placed.
class PdfPageDevice : public PainterPageDevice
{
public:
    PdfPageDevice(const QString& fileName, PaperSetup paper = {});
    ~PdfPageDevice() override;

    const QString& fileName() const { return m_fileName; }
    void setTitle(const QString& title) { m_title = title; }

protected:
    void setFileName(const QString& fileName) { m_fileName = fileName; }
    bool openTarget(QPainter& painter, QSizeF pageMillimetres,
                    PageOrientation orientation) override;
    bool nextTargetPage(QPainter& painter) override;
    bool closeTarget(QPainter& painter) override;

private:
    QString m_fileName;
    QString m_title;
    std::unique_ptr<QPdfWriter> m_writer;
};

} // namespace quilloa
