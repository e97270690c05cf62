#pragma once

#include "core/printing/BodySheets.h"
#include "core/printing/PrintMargins.h"

#include <QDate>
#include <QString>

#include <array>

namespace quilloa {

class PageDevice;

// The injection card on paper at its screen size: captions, body and frame at their card
// positions, shifted only by the card margins. One job; a body longer than one card goes on
// over further cards laid out the same way, one page each, its lines wrapped inside the frame.
class InjectionCardPrintout
{
public:
    static constexpr double kBodyPointSize = 10;
    static constexpr double kBodyLineGap = 50; // twips added above every body line
    static constexpr int kMaxBodyLines = 15;   // the rows one card has room for

    // What stands on the card at the moment of printing.
    struct Card
    {
        Card(); // the fixed title filled in, patient line, date and body empty

        std::array<QString, 3> captions; // Label6: title, name，sex，age, visit date
        QString body;                    // the card body's plain text
    };

    InjectionCardPrintout(Card card, PrintMargins margins);

    // False when the job could not be started or finished; the device's errorText() says why.
    bool print(PageDevice& device) const;
    // "注射卡", the patient (the patient line up to its first comma) and the visit date.
    QString jobName(QDate today) const;
    [[nodiscard]] int sheetCount() const { return m_body.sheetCount(); }
    [[nodiscard]] int rowsAfterFirstSheet() const { return m_body.rowsAfterFirstSheet(); }

private:
    void printCaptions(PageDevice& device) const;
    void printBody(PageDevice& device, const QList<BodyRow>& rows) const;
    void printFrame(PageDevice& device) const;

    Card m_card;
    PrintMargins m_margins;
    BodySheets m_body;
};

} // namespace quilloa
