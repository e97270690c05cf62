#include "ui/mainwindow/PrescriptionDesk.h"

#include "ui/common/Twips.h"
#include "ui/entry/InjectionCard.h"
#include "ui/entry/KeyboardPanel.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/mainwindow/MainWindowLayout.h"

#include <QIcon>
#include <QLabel>
#include <QMouseEvent>

namespace quilloa {
namespace {

using mainlayout::Rect;

QRect shadowOf(const Rect& r)
{
    return pixels(
        {r.left + mainlayout::kShadowOffset, r.top + mainlayout::kShadowOffset, r.width, r.height});
}

QLabel* makeShadow(const QString& name, const Rect& panel, QWidget* desk)
{
    auto* shadow = new QLabel(desk);
    shadow->setObjectName(name);
    shadow->setGeometry(shadowOf(panel));
    shadow->setAutoFillBackground(true);
    QPalette grey = shadow->palette();
    const int g = mainlayout::kShadowGrey;
    grey.setColor(QPalette::Window, QColor(g, g, g));
    shadow->setPalette(grey);
    return shadow;
}

} // namespace

PrescriptionDesk::PrescriptionDesk(const AppContext& context, EntryFocusMemory* focusMemory,
                                   QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setGeometry(pixels(mainlayout::kDesk));
    setAutoFillBackground(true);
    QPalette teal = palette();
    teal.setColor(QPalette::Window,
                  QColor(mainlayout::kDeskRed, mainlayout::kDeskGreen, mainlayout::kDeskBlue));
    setPalette(teal);

    // Shadows first, so that each panel lies on top of its own.
    m_sheetShadow = makeShadow(QStringLiteral("Label1"), mainlayout::kSheet, this);
    m_cardShadow = makeShadow(QStringLiteral("Label4"), mainlayout::kCard, this);
    m_keyboardShadow = makeShadow(QStringLiteral("Label13"), mainlayout::kKeyboard, this);

    m_sheet = new PrescriptionSheet(context, focusMemory, this);
    m_sheet->move(pixels(mainlayout::kSheet).topLeft());
    m_card = new InjectionCard(this);
    m_card->move(pixels(mainlayout::kCard).topLeft());
    m_keyboard = new KeyboardPanel(focusMemory, this);
    m_keyboard->setGeometry(pixels(mainlayout::kKeyboard));
    buildCardLink();
}

void PrescriptionDesk::buildCardLink()
{
    m_cardLinkImage = new QLabel(this);
    m_cardLinkImage->setObjectName(QStringLiteral("Image1"));
    m_cardLinkImage->setGeometry(pixels(mainlayout::kCardLinkImage));
    m_cardLinkImage->setPixmap(
        QIcon(QStringLiteral(":/icons/card.svg")).pixmap(m_cardLinkImage->size()));
    m_cardLink = new QLabel(QStringLiteral("打印注射卡"), this);
    m_cardLink->setObjectName(QStringLiteral("Label7"));
    m_cardLink->move(pixels(mainlayout::kCardLink).topLeft());
    QPalette cyan = m_cardLink->palette();
    cyan.setColor(QPalette::WindowText,
                  QColor(mainlayout::kLinkRed, mainlayout::kLinkGreen, mainlayout::kLinkBlue));
    m_cardLink->setPalette(cyan);
    QFont underlined = m_cardLink->font();
    underlined.setUnderline(true);
    m_cardLink->setFont(underlined);
    m_cardLink->adjustSize();
    m_cardLink->setCursor(Qt::PointingHandCursor);
    m_cardLink->installEventFilter(this);
}

void PrescriptionDesk::setPanelsShown(bool shown)
{
    for (QWidget* panel :
         {static_cast<QWidget*>(m_sheet), static_cast<QWidget*>(m_sheetShadow),
          static_cast<QWidget*>(m_card), static_cast<QWidget*>(m_cardShadow),
          static_cast<QWidget*>(m_cardLink), static_cast<QWidget*>(m_cardLinkImage),
          static_cast<QWidget*>(m_keyboard), static_cast<QWidget*>(m_keyboardShadow)})
        panel->setVisible(shown);
}

void PrescriptionDesk::mousePressEvent(QMouseEvent* event)
{
    emit pressed();
    QWidget::mousePressEvent(event);
}

bool PrescriptionDesk::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cardLink && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit cardLinkClicked();
    return QWidget::eventFilter(watched, event);
}

} // namespace quilloa
