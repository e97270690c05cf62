#pragma once

#include "core/printing/PageDevice.h"

#include <QMarginsF>
#include <QSizeF>

namespace quilloa {

// The paper a printer feeds, in millimetres, and the strips along its edges that it cannot
// print, all as the sheet lies in the printer: portrait, long edge vertical.
struct PaperSetup
{
    QSizeF size{210, 297};
    QMarginsF unprintable; // left, top, right, bottom of the portrait sheet

    // The page as a printout sees it: landscape swaps width and height.
    QSizeF pageSize(PageOrientation orientation) const;
    // The unprintable strips as seen on the page of that orientation. A landscape page lies on
    // the paper turned a quarter turn counter-clockwise, the way spoolers turn landscape pages:
    // its top runs along the paper's left edge, so its left strip is the paper's bottom one.
    QMarginsF unprintableOnPage(PageOrientation orientation) const;
    // The top-left corner of the printable area on that page.
    QPointF printableCorner(PageOrientation orientation) const;

    friend bool operator==(const PaperSetup&, const PaperSetup&) = default;
};

} // namespace quilloa
