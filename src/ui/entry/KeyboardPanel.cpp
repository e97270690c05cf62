#include "ui/entry/KeyboardPanel.h"

#include "ui/common/ChineseFaces.h"
#include "ui/common/Twips.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/KeyCaption.h"
#include "ui/entry/KeyFace.h"
#include "ui/entry/KeyboardLayout.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace quilloa {
namespace {

// The key code a character key stands for, so the keystroke looks like a typed one.
Qt::Key keyCodeOf(QChar character)
{
    const char16_t c = character.toLower().unicode();
    if (c >= u'a' && c <= u'z')
        return Qt::Key(Qt::Key_A + (c - u'a'));
    if (c >= u'0' && c <= u'9')
        return Qt::Key(Qt::Key_0 + (c - u'0'));
    return Qt::Key_unknown;
}

void sendKeystroke(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

KeyboardPanel::KeyboardPanel(EntryFocusMemory* focusMemory, QWidget* parent)
    : QFrame(parent), m_focusMemory(focusMemory)
{
    setObjectName(QStringLiteral("Picture6"));
    setFocusPolicy(Qt::NoFocus);
    // A panel of its own on the coloured desk, like the paper beside it.
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Window));
    setPalette(look);
    resize(twipsToPixels(keyboard::kPanelSize.width), twipsToPixels(keyboard::kPanelSize.height));
    const QSize small = pixels(keyboard::characterKeyRect(0)).size();
    const QSize wide = pixels(keyboard::kBackspaceRect).size();
    m_smallReleased = KeyFace::drawFace(small, false);
    m_smallPressed = KeyFace::drawFace(small, true);
    m_wideReleased = KeyFace::drawFace(wide, false);
    m_widePressed = KeyFace::drawFace(wide, true);
    buildTitle();
    buildCharacterKeys();
    buildWideKeys();
}

void KeyboardPanel::buildTitle()
{
    const QColor teal(keyboard::kTitleRed, keyboard::kTitleGreen, keyboard::kTitleBlue);
    auto* bar = new QLabel(this);
    bar->setObjectName(QStringLiteral("Label9"));
    bar->setGeometry(pixels(keyboard::kTitleBarRect));
    bar->setAutoFillBackground(true);
    QPalette barLook = bar->palette();
    barLook.setColor(QPalette::Window, teal);
    bar->setPalette(barLook);

    auto* title = new QLabel(keyboard::kTitle.toString(), this);
    title->setObjectName(QStringLiteral("Label12_0"));
    title->setGeometry(pixels(keyboard::kTitleRect));
    title->setAutoFillBackground(true);
    QPalette titleLook = title->palette();
    titleLook.setColor(QPalette::Window, teal);
    titleLook.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(titleLook);
}

void KeyboardPanel::buildCharacterKeys()
{
    for (int i = 0; i < kCharacterKeys; ++i) {
        KeyFace* key =
            makeKey(m_smallReleased, m_smallPressed, pixels(keyboard::characterKeyRect(i)));
        key->setObjectName(QStringLiteral("Picture7_%1").arg(i));
        const QChar character = keyboard::characterOf(i);
        QLabel* caption =
            makeCaption(QString(character), pixels(keyboard::kCharacterCaptionRect), key);
        caption->setObjectName(QStringLiteral("Label11_%1").arg(i));
        connect(key, &KeyFace::released, this, [this, character] { typeCharacter(character); });
        m_characterKeys[i] = key;
    }
}

void KeyboardPanel::buildWideKeys()
{
    m_backspaceKey = makeKey(m_wideReleased, m_widePressed, pixels(keyboard::kBackspaceRect));
    m_backspaceKey->setObjectName(QStringLiteral("Picture12"));
    makeCaption(keyboard::kBackspaceCaption.toString(), pixels(keyboard::kBackspaceCaptionRect),
                m_backspaceKey)
        ->setObjectName(QStringLiteral("Label20"));
    connect(m_backspaceKey, &KeyFace::released, this,
            [] { sendToFocused(Qt::Key_Backspace, QStringLiteral("\b")); });

    m_enterKey = makeKey(m_wideReleased, m_widePressed, pixels(keyboard::kEnterRect));
    m_enterKey->setObjectName(QStringLiteral("Picture14"));
    makeCaption(keyboard::kEnterCaption.toString(), pixels(keyboard::kEnterCaptionRect), m_enterKey)
        ->setObjectName(QStringLiteral("Label14"));
    connect(m_enterKey, &KeyFace::released, this,
            [] { sendToFocused(Qt::Key_Return, QStringLiteral("\r")); });
}

KeyFace* KeyboardPanel::makeKey(const QPixmap& released, const QPixmap& pressed, const QRect& place)
{
    auto* key = new KeyFace(released, pressed, this);
    key->setGeometry(place);
    return key;
}

QLabel* KeyboardPanel::makeCaption(const QString& text, const QRect& place, QWidget* key)
{
    auto* caption = new KeyCaption(text, key);
    caption->setGeometry(place);
    caption->setFont(ChineseFaces::font(keyboard::kCaptionFace, keyboard::kCaptionPointSize));
    QPalette look = caption->palette();
    look.setColor(QPalette::WindowText,
                  QColor(keyboard::kCaptionRed, keyboard::kCaptionGreen, keyboard::kCaptionBlue));
    caption->setPalette(look);
    return caption;
}

QWidget* KeyboardPanel::typingTarget() const
{
    if (!m_focusMemory)
        return nullptr;
    if (m_focusMemory->richActive())
        return m_focusMemory->lastRich();
    return m_focusMemory->lastPlain();
}

void KeyboardPanel::typeCharacter(QChar character)
{
    QWidget* target = typingTarget();
    if (!target)
        return;
    // A keystroke rather than a direct insert: the selection is replaced, and the field's own
    // rules (typing limit, sex codes, lookups) apply as to any typed character.
    sendKeystroke(target, keyCodeOf(character), QString(character));
    target->setFocus(Qt::OtherFocusReason);
}

void KeyboardPanel::sendToFocused(Qt::Key key, const QString& text)
{
    if (QWidget* focused = QApplication::focusWidget())
        sendKeystroke(focused, key, text);
}

} // namespace quilloa
