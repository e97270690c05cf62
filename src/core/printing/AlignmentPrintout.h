#pragma once

#include "core/printing/PrintMargins.h"

namespace quilloa {

class PageDevice;

// The alignment page: what the prescription and the injection card print, drawn as an
// outline at the current margins so that the clinic can hold the page against its printed
// paper and see which way to move the margins. Page 1 is the prescription sheet (its captions
// as they print, its rules, and a thin box round every field and the body), page 2 the card
// (its title, boxes for the patient line, the date and the body, and its frame).
class AlignmentPrintout
{
public:
    AlignmentPrintout(PrintMargins prescriptionMargins, PrintMargins cardMargins);

    bool print(PageDevice& device) const;

private:
    void printPrescription(PageDevice& device) const;
    void printCard(PageDevice& device) const;

    PrintMargins m_prescription;
    PrintMargins m_card;
};

} // namespace quilloa
