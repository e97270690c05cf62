#pragma once

#include "core/entry/SheetFields.h"
#include "core/printing/PrintMargins.h"

#include <QDate>
#include <QString>

#include <array>

namespace quilloa {

class PageDevice;

// The prescription sheet on paper: every caption, field, rule and the body, each at its sheet
// position enlarged by the paper scale and shifted by the prescription margins. One job, one page.
class PrescriptionPrintout
{
public:
    static constexpr double kPaperScale = 1.293;
    static constexpr double kTitleAndRpPointSize = 18;
    static constexpr double kCaptionPointSize = 11;
    static constexpr double kFieldPointSize = 11;
    static constexpr double kBodyPointSize = 11;
    static constexpr double kBodyLineGap = 70; // twips added above every body line
    static constexpr int kMaxBodyLines = 20;

    // What stands on the sheet at the moment of printing: the fields and body as the sheet
    // holds them, and the captions.
    struct Sheet : SheetFields
    {
        Sheet(); // the fixed captions filled in, title, fields and body empty

        std::array<QString, 13> captions; // Label3; index 0 is the title, placed by SheetTitle
    };

    PrescriptionPrintout(Sheet sheet, PrintMargins margins);

    // False when the job could not be started or finished; the device's errorText() says why.
    bool print(PageDevice& device) const;
    // The print job's name in the printer's queue: "处方", the patient and the visit date (today
    // when the sheet has none), e.g. "处方 张三 2026-12-08".
    QString jobName(QDate today) const;

private:
    void printCaptions(PageDevice& device) const;
    void printFields(PageDevice& device) const;
    void printLines(PageDevice& device) const;
    void printBody(PageDevice& device) const;

    Sheet m_sheet;
    PrintMargins m_margins;
};

} // namespace quilloa
