#pragma once

#include "ui/support/PdfWords.h"

#include <QDir>
#include <QImage>
#include <QLineF>
#include <QTemporaryDir>

#include <utility>

namespace quilloa::test {

// Renders PDF pages with pdftoppm, one pixel a tenth of a millimetre, without smoothing, and
// compares where the ink lies.
class PdfInk
{
public:
    static constexpr int kDotsPerInch = 254; // 0.1 mm a pixel

    static QImage page(const QString& pdf, int page)
    {
        QTemporaryDir folder;
        const QString prefix = QDir(folder.path()).filePath(QStringLiteral("page"));
        const QString number = QString::number(page);
        if (!PdfWords::run(QStringLiteral("pdftoppm"),
                           {QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                            QStringLiteral("-r"), QString::number(kDotsPerInch),
                            QStringLiteral("-gray"), QStringLiteral("-aa"), QStringLiteral("no"),
                            QStringLiteral("-aaVector"), QStringLiteral("no"),
                            QStringLiteral("-singlefile"), pdf, prefix})) {
            return QImage();
        }
        return QImage(prefix + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
    }

    struct Difference
    {
        qsizetype inked = 0;     // inked pixels of the first image
        qsizetype unmatched = 0; // of them, those with no ink within one pixel in the second
    };

    // Ink of `a` that `b` does not have within one pixel (0.1 mm) in any direction.
    static Difference inkMissingFrom(const QImage& a, const QImage& b)
    {
        Difference difference;
        if (a.size() != b.size()) {
            difference.unmatched = -1;
            return difference;
        }
        for (int y = 0; y < a.height(); ++y) {
            const uchar* row = a.constScanLine(y);
            for (int x = 0; x < a.width(); ++x) {
                if (row[x] >= 128) {
                    continue;
                }
                ++difference.inked;
                if (!inkNear(b, x, y)) {
                    ++difference.unmatched;
                }
            }
        }
        return difference;
    }

    struct TileShift
    {
        int tiles = 0;  // tiles with enough ink to compare
        QPoint largest; // the largest shift that best lays one tile's ink on the other's
        QPoint worst;   // the top-left of the tile where it was found
    };

    // For every tile of `size` pixels with ink in `a`, the shift of up to `reach` pixels each
    // way that lays its ink best onto the ink of `b` (the smallest such shift on a tie).
    // Glyphs rasterised from different font programs differ in single edge pixels, which
    // moves no tile's best shift; an item printed out of place does.
    static TileShift tileShift(const QImage& a, const QImage& b, int size, int reach = 2)
    {
        TileShift result;
        for (int top = 0; top < a.height(); top += size) {
            for (int left = 0; left < a.width(); left += size) {
                const QRect tile = QRect(left, top, size, size).intersected(a.rect());
                if (inkIn(a, tile) < size) {
                    continue;
                }
                ++result.tiles;
                const QPoint shift = bestShift(a, b, tile, reach);
                if (shift.manhattanLength() > result.largest.manhattanLength()) {
                    result.largest = shift;
                    result.worst = tile.topLeft();
                }
            }
        }
        return result;
    }

    // Inked pixels in the rows `from` to `to` between columns left and right, leaving out the
    // columns within two pixels of any of `crossing` (rules that cross those rows).
    static int inkInRows(const QImage& image, int from, int to, int left, int right,
                         const QList<int>& crossing)
    {
        int inked = 0;
        for (int y = qMax(0, from); y <= qMin(to, image.height() - 1); ++y) {
            const uchar* row = image.constScanLine(y);
            for (int x = qMax(0, left); x <= qMin(right, image.width() - 1); ++x) {
                bool nearRule = false;
                for (int rule : crossing) {
                    nearRule = nearRule || std::abs(x - rule) <= 2;
                }
                if (!nearRule && row[x] < 128) {
                    ++inked;
                }
            }
        }
        return inked;
    }

    // Inked pixels outside `inside` (in pixels), such as ink beyond a printer's printable area.
    static int inkOutside(const QImage& image, const QRect& inside)
    {
        int outside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                outside += inked(image, x, y) && !inside.contains(x, y) ? 1 : 0;
            }
        }
        return outside;
    }

private:
    static bool inked(const QImage& image, int x, int y)
    {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
               image.constScanLine(y)[x] < 128;
    }

    static int inkIn(const QImage& image, const QRect& tile)
    {
        int count = 0;
        for (int y = tile.top(); y <= tile.bottom(); ++y) {
            for (int x = tile.left(); x <= tile.right(); ++x) {
                count += inked(image, x, y) ? 1 : 0;
            }
        }
        return count;
    }

    static QPoint bestShift(const QImage& a, const QImage& b, const QRect& tile, int reach)
    {
        QPoint best;
        int bestScore = -1;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                // Pixels inked in one and not the other: a glyph drawn a little bolder in one
                // image still lies best where its strokes are centred on the other's.
                int score = 0;
                for (int y = tile.top(); y <= tile.bottom(); ++y) {
                    for (int x = tile.left(); x <= tile.right(); ++x) {
                        score -= inked(a, x, y) != inked(b, x + dx, y + dy) ? 1 : 0;
                    }
                }
                const QPoint shift(dx, dy);
                if (score > bestScore ||
                    (score == bestScore && shift.manhattanLength() < best.manhattanLength())) {
                    best = shift;
                    bestScore = score;
                }
            }
        }
        return best;
    }

    static bool inkNear(const QImage& image, int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy) {
            const int yy = y + dy;
            if (yy < 0 || yy >= image.height()) {
                continue;
            }
            const uchar* row = image.constScanLine(yy);
            for (int dx = -1; dx <= 1; ++dx) {
                const int xx = x + dx;
                if (xx >= 0 && xx < image.width() && row[xx] < 128) {
                    return true;
                }
            }
        }
        return false;
    }
};

} // namespace quilloa::test
