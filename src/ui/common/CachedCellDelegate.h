#pragma once

#include "ui/common/ElidedCellTips.h"

#include <QCache>
#include <QPixmap>
#include <QString>

namespace quilloa {

// Draws a grid's plain text cells from pictures of their texts, kept between paints. Laying out
// and drawing Han text glyph by glyph costs far more than copying a picture, and a register's
// cells repeat the same few sexes, ages, diagnoses and addresses on every screen. The chosen cell,
// the one with the focus, and cells with anything besides text are drawn by the style as usual;
// long texts still end in "…" and show themselves on hover.
class CachedCellDelegate : public ElidedCellTips
{
    Q_OBJECT
public:
    using ElidedCellTips::ElidedCellTips;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    static constexpr int kCacheBytes = 8 * 1024 * 1024;

    QPixmap textPicture(const QStyleOptionViewItem& cell, const QRect& room, qreal ratio) const;

    mutable QCache<QString, QPixmap> m_pictures{kCacheBytes};
};

} // namespace quilloa
