#pragma once

#include "support/printing/RecordingPageDevice.h"

#include <QPointF>
#include <QString>
#include <QTest>

#include <cmath>

// Positions in the printout tables are given to two decimals, so a half hundredth is allowed.
inline bool isNear(double actual, double expected, double tolerance = 0.006)
{
    return std::abs(actual - expected) <= tolerance;
}

inline QString pointText(QPointF point)
{
    return QStringLiteral("(%1, %2)").arg(point.x(), 0, 'f', 3).arg(point.y(), 0, 'f', 3);
}

#define QUILLOA_COMPARE_POINT(actual, expectedX, expectedY)                                        \
    do {                                                                                           \
        const QPointF quilloaActual = (actual);                                                    \
        QVERIFY2(isNear(quilloaActual.x(), (expectedX)) && isNear(quilloaActual.y(), (expectedY)), \
                 qPrintable(QStringLiteral("got %1, expected %2")                                  \
                                .arg(pointText(quilloaActual),                                     \
                                     pointText(QPointF((expectedX), (expectedY))))));              \
    } while (false)

// The text items with exactly this text, in drawing order.
inline QList<quilloa::PageItem> textsNamed(const quilloa::RecordingPageDevice& device,
                                           const QString& text)
{
    QList<quilloa::PageItem> found;
    for (const quilloa::PageItem& item : device.texts()) {
        if (item.text == text) {
            found.append(item);
        }
    }
    return found;
}
