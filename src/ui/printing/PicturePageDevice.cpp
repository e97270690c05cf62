#include "ui/printing/PicturePageDevice.h"

namespace quilloa {

PicturePageDevice::PicturePageDevice(PaperSetup paper) : PainterPageDevice(paper) {}

bool PicturePageDevice::openTarget(QPainter& painter, QSizeF pageMillimetres,
                                   PageOrientation orientation)
{
    m_pages.clear();
    m_pageMillimetres = pageMillimetres;
    m_orientation = orientation;
    m_pages.append(QPicture());
    return painter.begin(&m_pages.last());
}

bool PicturePageDevice::nextTargetPage(QPainter& painter)
{
    painter.end();
    m_pages.append(QPicture());
    return painter.begin(&m_pages.last());
}

bool PicturePageDevice::closeTarget(QPainter& painter)
{
    return painter.end();
}

} // namespace quilloa
