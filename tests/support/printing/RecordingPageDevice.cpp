#include "support/printing/RecordingPageDevice.h"

namespace quilloa {

bool RecordingPageDevice::begin()
{
    if (!m_refusal.isEmpty()) {
        m_error = m_refusal;
        return false;
    }
    m_error.clear();
    m_active = true;
    m_ended = false;
    m_page = 1;
    record(PageItem::Kind::Begin);
    return true;
}

bool RecordingPageDevice::end()
{
    if (!m_active) {
        return false;
    }
    record(PageItem::Kind::End);
    m_active = false;
    m_ended = true;
    return true;
}

void RecordingPageDevice::newPage()
{
    if (!m_active) {
        return;
    }
    ++m_page;
    record(PageItem::Kind::NewPage);
}

QList<PageItem> RecordingPageDevice::items(PageItem::Kind kind, int page) const
{
    QList<PageItem> found;
    for (const PageItem& item : m_items) {
        if (item.kind == kind && (page == 0 || item.page == page)) {
            found.append(item);
        }
    }
    return found;
}

void RecordingPageDevice::drawTextAt(QPointF topLeft, const QString& text, LineAdvance advance)
{
    if (!m_active) {
        return;
    }
    PageItem& item = record(PageItem::Kind::Text);
    item.text = text;
    item.font = font();
    item.position = topLeft;
    item.advance = advance;
}

void RecordingPageDevice::drawLineBetween(QPointF from, QPointF to)
{
    if (!m_active) {
        return;
    }
    PageItem& item = record(PageItem::Kind::Line);
    item.position = from;
    item.lineEnd = to;
}

double RecordingPageDevice::lineHeight() const
{
    return fromTwips(lineHeightTwips(font().pointSize));
}

double RecordingPageDevice::textWidth(const QString& text) const
{
    return fromTwips(text.size() * font().pointSize * 20.0);
}

PageItem& RecordingPageDevice::record(PageItem::Kind kind)
{
    PageItem item;
    item.kind = kind;
    item.page = m_page;
    item.unit = unit();
    item.orientation = orientation();
    item.origin = origin();
    m_items.append(item);
    return m_items.last();
}

double RecordingPageDevice::fromTwips(double twips) const
{
    return unit() == PageUnit::Millimetres ? twips / kTwipsPerMillimetre : twips;
}

} // namespace quilloa
