#include "core/printing/PaperSetup.h"

namespace quilloa {

QSizeF PaperSetup::pageSize(PageOrientation orientation) const
{
    return orientation == PageOrientation::Landscape ? size.transposed() : size;
}

QMarginsF PaperSetup::unprintableOnPage(PageOrientation orientation) const
{
    if (orientation == PageOrientation::Portrait) {
        return unprintable;
    }
    const QMarginsF& paper = unprintable;
    return QMarginsF(paper.bottom(), paper.left(), paper.top(), paper.right());
}

QPointF PaperSetup::printableCorner(PageOrientation orientation) const
{
    const QMarginsF margins = unprintableOnPage(orientation);
    return QPointF(margins.left(), margins.top());
}

} // namespace quilloa
