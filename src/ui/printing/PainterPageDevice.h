#pragma once

#include "core/printing/PageDevice.h"
#include "core/printing/PaperSetup.h"

#include <QPainter>

namespace quilloa {

// A page device that paints: the printouts' positions, fonts and lines turned into painter
// calls on pages of a given paper, measured from the corner of its printable area.
//
// Texts are set by the metrics of the faces the layouts were made for (see SheetFaceMetrics),
// whatever face stands in for them: the baseline lies the sheet face's ascent below the asked
// top, lines advance by the sheet face's height and every character keeps its sheet-face width.
// The stand-in only draws each glyph in its cell, centred, and squeezed across when it is wider
// than the cell, so no glyph runs into its neighbour's place.
//
// Subclasses supply the pages: a PDF file, pictures for a preview.
class PainterPageDevice : public PageDevice
{
public:
    static constexpr double kTwipsPerMillimetre = 1440.0 / 25.4;

    ~PainterPageDevice() override;

    bool begin() override;
    bool end() override;
    QString errorText() const override { return m_error; }
    void newPage() override;

    QSizeF printableMillimetres() const override;
    const PaperSetup& paper() const { return m_paper; }
    void setPaper(const PaperSetup& paper) { m_paper = paper; }

protected:
    explicit PainterPageDevice(PaperSetup paper = {});

    // Begins the painter on the first page of a job whose pages have this size in
    // millimetres, in this orientation.
    virtual bool openTarget(QPainter& painter, QSizeF pageMillimetres,
                            PageOrientation orientation) = 0;
    virtual bool nextTargetPage(QPainter& painter) = 0;
    // Ends the painter; false when the pages could not be completed.
    virtual bool closeTarget(QPainter& painter) = 0;

    bool fail(const QString& error);
    void clearError() { m_error.clear(); }

    void drawTextAt(QPointF topLeft, const QString& text, LineAdvance advance) override;
    void drawLineBetween(QPointF from, QPointF to) override;
    double lineHeight() const override;
    double textWidth(const QString& text) const override;

private:
    void preparePage();
    double twipsPerUnit() const;
    QPointF toTwips(QPointF position) const;

    PaperSetup m_paper;
    QPainter m_painter;
    QString m_error;
    PageOrientation m_jobOrientation = PageOrientation::Portrait;
};

} // namespace quilloa
