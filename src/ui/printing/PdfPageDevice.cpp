#include "ui/printing/PdfPageDevice.h"

#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>

namespace quilloa {

PdfPageDevice::PdfPageDevice(const QString& fileName, PaperSetup paper)
    : PainterPageDevice(paper), m_fileName(fileName)
{
}

PdfPageDevice::~PdfPageDevice() = default;

bool PdfPageDevice::openTarget(QPainter& painter, QSizeF pageMillimetres, PageOrientation)
{
    // The page is given in its printed orientation: a landscape page is simply wider than tall.
    m_writer = std::make_unique<QPdfWriter>(m_fileName);
    m_writer->setResolution(1440);
    m_writer->setCreator(QStringLiteral("Quilloa"));
    m_writer->setTitle(m_title);
    const bool wide = pageMillimetres.width() > pageMillimetres.height();
    const QSizeF upright = wide ? pageMillimetres.transposed() : pageMillimetres;
    m_writer->setPageLayout(
        QPageLayout(QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    if (!painter.begin(m_writer.get())) {
        return fail(
            QStringLiteral("无法写入文件“%1”：请确认文件夹存在并且可以写入。").arg(m_fileName));
    }
    return true;
}

bool PdfPageDevice::nextTargetPage(QPainter&)
{
    return m_writer->newPage();
}

bool PdfPageDevice::closeTarget(QPainter& painter)
{
    const bool ended = painter.end();
    m_writer.reset();
    if (!ended || !QFile::exists(m_fileName)) {
        return fail(
            QStringLiteral("无法写入文件“%1”：请确认磁盘有空间并且可以写入。").arg(m_fileName));
    }
    return true;
}

} // namespace quilloa
