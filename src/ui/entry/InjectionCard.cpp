#include "ui/entry/InjectionCard.h"

#include "ui/common/ChineseFaces.h"
#include "ui/common/Twips.h"
#include "ui/printing/CellTextLabel.h"

#include <QLabel>
#include <QPainter>
#include <QTextEdit>

namespace quilloa {

InjectionCard::InjectionCard(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture4"));
    setFixedSize(twipsToPixels(sheet::kCardSize.width), twipsToPixels(sheet::kCardSize.height));
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    setPalette(paper);

    for (std::size_t i = 0; i < sheet::kCardCaptions.size(); ++i) {
        const sheet::CaptionLayout& shape = sheet::kCardCaptions[i];
        auto* label = new CellTextLabel(shape.text.toString(), this);
        label->setObjectName(QStringLiteral("Label6_%1").arg(i));
        // The patient line repeats what was typed or stored: text, never markup.
        label->setTextFormat(Qt::PlainText);
        QFont face = font();
        face = ChineseFaces::withFace(face, shape.face);
        face.setPointSizeF(shape.pointSize);
        face.setBold(shape.bold);
        label->setFont(face);
        label->move(twipsToPixels(shape.left), twipsToPixels(shape.top));
        label->adjustSize();
        m_captions[i] = label;
    }

    const sheet::TwipRect& r = sheet::kCardBodyRect;
    m_body = new QTextEdit(this);
    m_body->setObjectName(QStringLiteral("R2"));
    m_body->setGeometry(twipsRect(r.left, r.top, r.width, r.height));
    m_body->setAcceptRichText(false);
    // Tab leaves the body for the next control; a prescription is indented with blanks.
    m_body->setTabChangesFocus(true);
    m_body->setFrameShape(QFrame::NoFrame);
    QFont bodyFont = font();
    bodyFont = ChineseFaces::withFace(bodyFont, sheet::kCardBodyFace);
    bodyFont.setPointSizeF(sheet::kCardBodyPointSize);
    m_body->setFont(bodyFont);
}

void InjectionCard::setPatientLine(const QString& line)
{
    setCaptionText(sheet::CardPatientCaption, line);
}

void InjectionCard::setVisitDate(const QString& date)
{
    setCaptionText(sheet::CardDateCaption, date);
}

InjectionCardPrintout::Card InjectionCard::printedCard() const
{
    InjectionCardPrintout::Card printed;
    for (std::size_t i = 0; i < m_captions.size(); ++i)
        printed.captions[i] = m_captions[i]->text();
    printed.body = m_body->toPlainText();
    return printed;
}

void InjectionCard::setCaptionText(int index, const QString& text)
{
    QLabel* label = m_captions.at(index);
    label->setText(text);
    label->adjustSize();
}

void InjectionCard::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    for (const sheet::TwipLine& line : sheet::kCardLines)
        painter.drawLine(twipsToPixels(line.from.x), twipsToPixels(line.from.y),
                         twipsToPixels(line.to.x), twipsToPixels(line.to.y));
}

} // namespace quilloa
