#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

namespace quilloa {

enum class PageUnit
{
    Twips,
    Millimetres,
};

enum class PageOrientation
{
    Portrait,
    Landscape,
};

// Whether printing a text moves the position to the start of the next line.
enum class LineAdvance
{
    NextLine,
    SameLine,
};

struct PageFont
{
    QString face;
    double pointSize = 12;
    bool bold = false;

    friend bool operator==(const PageFont&, const PageFont&) = default;
};

// The page-drawing surface the printouts draw on: a unit, an origin, a font and a current
// position that printing a text moves on.
//
// Positions are in the current unit, measured from the origin. The origin is given as the
// coordinates that the top-left corner of the printable area takes, so setOrigin(-560, -280)
// puts every drawing at (0, 0) 560 units right of and 280 units below that corner.
//
// A job runs begin() ... end(); drawing outside a running job is ignored. The orientation is part
// of the job's page set-up and must be chosen before begin(); a job that chooses none gets the
// device's own default.
class PageDevice
{
public:
    virtual ~PageDevice();
    PageDevice(const PageDevice&) = delete;
    PageDevice& operator=(const PageDevice&) = delete;

    void setUnit(PageUnit unit);
    PageUnit unit() const { return m_unit; }
    void setOrigin(double left, double top);
    QPointF origin() const { return m_origin; }
    void setOrientation(PageOrientation orientation);
    PageOrientation orientation() const { return m_orientation; }
    // Everything drawn is shrunk by this factor about the printable corner, so a printout made
    // for larger paper keeps all its content on a smaller sheet. Chosen before begin().
    void setScale(double factor) { m_scale = factor; }
    double scale() const { return m_scale; }
    // The printable area of a page in the chosen orientation, in millimetres; empty when the
    // device does not know its paper.
    virtual QSizeF printableMillimetres() const { return {}; }

    // Both report false when the job cannot be started or was not completed; errorText() then
    // says why in words fit for the user.
    virtual bool begin() = 0;
    virtual bool end() = 0;
    virtual QString errorText() const = 0;
    // What the user should hear although the job went through, such as a printer that keeps
    // it waiting; empty when there is nothing to tell.
    virtual QString noticeText() const { return QString(); }
    virtual void newPage() = 0;

    void setFontSize(double points) { m_font.pointSize = points; }
    void setFont(const PageFont& font) { m_font = font; }
    const PageFont& font() const { return m_font; }

    void setCurrentX(double x) { m_position.setX(x); }
    void setCurrentY(double y) { m_position.setY(y); }
    void setPosition(QPointF position) { m_position = position; }
    double currentX() const { return m_position.x(); }
    double currentY() const { return m_position.y(); }

    // The text's top-left corner goes at the current position. With NextLine the position then
    // moves down one line height of the current font, back to the left edge of the printable
    // area; with SameLine it moves right past the text and the current y stays.
    void printText(const QString& text, LineAdvance advance);
    // Drawn with the default pen: solid, black, the thinnest width the device draws.
    void drawLine(QPointF from, QPointF to);

protected:
    PageDevice() = default;

    // Hooks of the concrete device. Geometry is in the current unit from the origin.
    virtual void drawTextAt(QPointF topLeft, const QString& text, LineAdvance advance) = 0;
    virtual void drawLineBetween(QPointF from, QPointF to) = 0;
    virtual double lineHeight() const = 0;
    virtual double textWidth(const QString& text) const = 0;
    virtual void unitChanged() {}
    virtual void originChanged() {}
    virtual void orientationChanged() {}

private:
    PageUnit m_unit = PageUnit::Twips;
    QPointF m_origin;
    PageOrientation m_orientation = PageOrientation::Portrait;
    double m_scale = 1;
    PageFont m_font;
    QPointF m_position;
};

} // namespace quilloa
