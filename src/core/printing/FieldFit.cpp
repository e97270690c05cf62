#include "core/printing/FieldFit.h"

#include "core/printing/BodySheets.h"
#include "core/printing/SheetFaceMetrics.h"

namespace quilloa {

namespace {

QStringList wrappedRows(const QString& text, double widthTwips, double pointSize)
{
    QStringList rows;
    for (const BodyRow& row : BodySheets::fitted({{text, false}}, widthTwips, pointSize)) {
        rows.append(row.text);
    }
    return rows;
}

} // namespace

FieldFit FieldFit::of(const QString& text, double pointSize, double widthTwips, double heightTwips)
{
    const double smallest = qMin(pointSize, kSmallestPointSize);
    for (double size = pointSize; size >= smallest; size -= kStep) {
        if (SheetFaceMetrics::textWidthTwips(text, size) <= widthTwips) {
            return {size, {text}};
        }
    }
    for (double size = pointSize; size >= smallest; size -= kStep) {
        const QStringList rows = wrappedRows(text, widthTwips, size);
        if (rows.size() * SheetFaceMetrics::lineHeightTwips(size) <= heightTwips) {
            return {size, rows};
        }
    }
    return {smallest, wrappedRows(text, widthTwips, smallest)};
}

} // namespace quilloa
