#pragma once

#include "core/printing/PageDevice.h"

#include <QList>

namespace quilloa {

// One thing a recording device was asked to do, with the set-up in effect at that moment.
struct PageItem
{
    enum class Kind
    {
        Unit,
        Origin,
        Orientation,
        Begin,
        Text,
        Line,
        NewPage,
        End,
    };

    Kind kind = Kind::Text;
    int page = 0; // 1 for the first page of the job, 0 before begin()
    PageUnit unit = PageUnit::Twips;
    PageOrientation orientation = PageOrientation::Portrait;
    QPointF origin;
    QString text;                                // Text
    PageFont font;                               // Text
    LineAdvance advance = LineAdvance::NextLine; // Text
    QPointF position;                            // Text: top-left corner; Line: start
    QPointF lineEnd;                             // Line

    // Where the item lies measured from the top-left corner of the printable area.
    QPointF fromCorner() const { return position - origin; }
};

// A page device that draws nothing and keeps every request, so that tests can assert the exact
// geometry of a printout.
//
// Its font metrics are a fixed rule rather than a real font, so that expected positions can be
// worked out by hand: a line is 1.2 em high (point size x 24 twips) and every character is
// 1 em wide (point size x 20 twips), converted to the current unit.
class RecordingPageDevice : public PageDevice
{
public:
    static constexpr double kTwipsPerMillimetre = 1440.0 / 25.4;

    static double lineHeightTwips(double pointSize) { return pointSize * 24.0; }

    bool begin() override;
    bool end() override;
    QString errorText() const override { return m_error; }
    void newPage() override;

    // Makes the next begin() fail with this text, as a printer that refuses the job would.
    void refuseJob(const QString& error) { m_refusal = error; }

    const QList<PageItem>& items() const { return m_items; }
    // The items of one kind, on the given page or, for page 0, on every page.
    QList<PageItem> items(PageItem::Kind kind, int page = 0) const;
    QList<PageItem> texts(int page = 0) const { return items(PageItem::Kind::Text, page); }
    QList<PageItem> lines(int page = 0) const { return items(PageItem::Kind::Line, page); }
    int pageCount() const { return m_page; }
    bool isActive() const { return m_active; }
    bool hasEnded() const { return m_ended; }

protected:
    void drawTextAt(QPointF topLeft, const QString& text, LineAdvance advance) override;
    void drawLineBetween(QPointF from, QPointF to) override;
    double lineHeight() const override;
    double textWidth(const QString& text) const override;
    void unitChanged() override { record(PageItem::Kind::Unit); }
    void originChanged() override { record(PageItem::Kind::Origin); }
    void orientationChanged() override { record(PageItem::Kind::Orientation); }

private:
    PageItem& record(PageItem::Kind kind);
    double fromTwips(double twips) const;

    QList<PageItem> m_items;
    QString m_refusal;
    QString m_error;
    int m_page = 0;
    bool m_active = false;
    bool m_ended = false;
};

} // namespace quilloa
