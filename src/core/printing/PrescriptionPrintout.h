#pragma once

#include "core/entry/SheetFields.h"
#include "core/entry/SheetGeometry.h"
#include "core/printing/BodySheets.h"
#include "core/printing/PrintMargins.h"

#include <QDate>
#include <QString>

#include <array>

namespace quilloa {

class PageDevice;

// The prescription sheet on paper: every caption, field, rule and the body, each at its sheet
// position enlarged by the paper scale and shifted by the prescription margins. One job; a body
// longer than one sheet goes on over further sheets laid out the same way, one page each.
class PrescriptionPrintout
{
public:
    static constexpr double kPaperScale = sheet::kPaperScale;
    static constexpr double kTitleAndRpPointSize = 18;
    static constexpr double kCaptionPointSize = 11;
    static constexpr double kFieldPointSize = 11;
    static constexpr double kBodyPointSize = 11;
    static constexpr double kBodyLineGap = 70; // twips added above every body line
    static constexpr int kMaxBodyLines = 20;   // the rows one sheet has room for

    // What stands on the sheet at the moment of printing: the fields and body as the sheet
    // holds them, and the captions.
    struct Sheet : SheetFields
    {
        Sheet(); // the fixed captions filled in, title, fields and body empty

        std::array<QString, 13> captions; // Label3; index 0 is the title, placed by SheetTitle
        // The body's rows as the sheet on screen wraps them; when empty, the body is wrapped
        // at the printed body's width.
        QList<BodyRow> bodyRows;
    };

    PrescriptionPrintout(Sheet sheet, PrintMargins margins);

    // False when the job could not be started or finished; the device's errorText() says why.
    bool print(PageDevice& device) const;
    // The print job's name in the printer's queue: "处方", the patient and the visit date (today
    // when the sheet has none), e.g. "处方 张三 2026-12-08".
    QString jobName(QDate today) const;
    // How many sheets the body needs, and how many of its rows the first one cannot hold: the
    // doctor is asked before those go onto a second sheet.
    [[nodiscard]] int sheetCount() const { return m_body.sheetCount(); }
    [[nodiscard]] int rowsAfterFirstSheet() const { return m_body.rowsAfterFirstSheet(); }

private:
    void printCaptions(PageDevice& device) const;
    void printFields(PageDevice& device) const;
    void printLines(PageDevice& device) const;
    void printBody(PageDevice& device, const QList<BodyRow>& rows) const;

    Sheet m_sheet;
    PrintMargins m_margins;
    BodySheets m_body;
};

} // namespace quilloa
