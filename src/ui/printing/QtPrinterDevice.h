#pragma once

#include "printing/PageDevice.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPrinter;

namespace quilloa {

// The page device on a real printer: the system's default printer, or a PDF file for trying a
// printout out and for tests.
//
// The printer runs at 1440 dots per inch, so one device unit is one twip; fonts are sized in
// twips and the painter scaled by whatever resolution the printer actually granted, so point
// sizes come out right either way. Positions count from the corner of the printable area: the
// page margins are set to the printer's own minimum, never added on top of the printout's.
class QtPrinterDevice : public PageDevice
{
public:
    static constexpr double kTwipsPerMillimetre = 1440.0 / 25.4;

    QtPrinterDevice(); // the default printer
    explicit QtPrinterDevice(const QString& pdfFileName);
    ~QtPrinterDevice() override;

    bool begin() override;
    bool end() override;
    QString errorText() const override { return m_error; }
    void newPage() override;

protected:
    void drawTextAt(QPointF topLeft, const QString& text, LineAdvance advance) override;
    void drawLineBetween(QPointF from, QPointF to) override;
    double lineHeight() const override;
    double textWidth(const QString& text) const override;
    // A change while the job runs takes effect from the next page on.
    void orientationChanged() override;

private:
    bool fail(const QString& error);
    void applyPageLayout();
    QFont currentQtFont() const;
    double twipsPerUnit() const;
    QPointF toDevice(QPointF position) const;

    std::unique_ptr<QPrinter> m_printer;
    QString m_pdfFileName;
    QPainter m_painter;
    QString m_error;
    bool m_orientationChosen = false;
};

} // namespace quilloa
