#pragma once

#include "ui/printing/PainterPageDevice.h"

#include <QList>
#include <QPicture>

namespace quilloa {

// Pages recorded as pictures, for showing a printout on screen before it is printed. The
// pictures are painted exactly as a PDF page is, only at the screen's resolution.
class PicturePageDevice : public PainterPageDevice
{
public:
    explicit PicturePageDevice(PaperSetup paper);

    const QList<QPicture>& pages() const { return m_pages; }
    // The size of every page in millimetres, as the job's orientation turned it.
    QSizeF pageMillimetres() const { return m_pageMillimetres; }
    PageOrientation pageOrientation() const { return m_orientation; }

protected:
    bool openTarget(QPainter& painter, QSizeF pageMillimetres,
                    PageOrientation orientation) override;
    bool nextTargetPage(QPainter& painter) override;
    bool closeTarget(QPainter& painter) override;

private:
    QList<QPicture> m_pages;
    QSizeF m_pageMillimetres;
    PageOrientation m_orientation = PageOrientation::Portrait;
};

} // namespace quilloa
