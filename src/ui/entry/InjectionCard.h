#pragma once

#include "core/entry/SheetGeometry.h"
#include "core/printing/InjectionCardPrintout.h"

#include <QWidget>

#include <array>

class QLabel;
class QTextEdit;

namespace quilloa {

// The injection card (Picture4) beside the sheet: title, patient line and visit date
// (Label6_0..2), the ruled box (Line5) and the free-text card body R2, which is never stored.
class InjectionCard : public QWidget
{
    Q_OBJECT
public:
    explicit InjectionCard(QWidget* parent = nullptr);

    QLabel* caption(int index) const { return m_captions.at(index); }
    QTextEdit* body() const { return m_body; }

    void setPatientLine(const QString& line);
    void setVisitDate(const QString& date);

    // What stands on the card now, for the printout.
    InjectionCardPrintout::Card printedCard() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setCaptionText(int index, const QString& text);

    std::array<QLabel*, sheet::kCardCaptions.size()> m_captions{};
    QTextEdit* m_body = nullptr;
};

} // namespace quilloa
