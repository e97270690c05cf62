#pragma once

#include "core/printing/PaperSetup.h"

#include <QList>
#include <QPicture>
#include <QWidget>

namespace quilloa {

// The pages of a preview one below the other, each a white sheet at the paper's proportions
// with the printer's printable area shown as a dashed frame. Scaled to the widget's width.
class PreviewPages : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewPages(QWidget* parent = nullptr);

    void setPages(const QList<QPicture>& pages, double pictureDpi, QSizeF pageMillimetres,
                  QRectF printableMillimetres);
    int pageCount() const { return int(m_pages.size()); }
    // Marks the foot of every page but the last with this text, in red, where a printout goes
    // on over the next page; the mark is only shown, never printed.
    void markContinuation(const QString& text);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kGap = 16;
    double pixelsPerMillimetre(int width) const;

    QList<QPicture> m_pages;
    double m_pictureDpi = 96;
    QSizeF m_pageMillimetres{210, 297};
    QRectF m_printable;
    QString m_continuation;
};

} // namespace quilloa
