#include "ui/mainwindow/ScreenLock.h"

#include "core/startup/LoginCheck.h"
#include "ui/common/ChineseFaces.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>

namespace quilloa {

ScreenLock::ScreenLock(QWidget* window, std::function<QString()> storedPassword)
    : QWidget(window), m_storedPassword(std::move(storedPassword))
{
    setObjectName(QStringLiteral("screenLock"));
    setAutoFillBackground(true);
    buildControls();
    hide();
    window->installEventFilter(this);
    qApp->installEventFilter(this);
}

ScreenLock::~ScreenLock()
{
    qApp->removeEventFilter(this);
}

void ScreenLock::buildControls()
{
    auto* title = new QLabel(QStringLiteral("Quilloa 已锁定"), this);
    title->setFont(ChineseFaces::font(u"楷体_GB2312", 18, true));
    auto* prompt = new QLabel(QStringLiteral("请输入登录密码："), this);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("lockPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_password->setFixedWidth(200);
    m_unlock = new QPushButton(QStringLiteral("解  锁"), this);
    m_unlock->setObjectName(QStringLiteral("lockConfirm"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lockMessage"));
    m_message->setTextFormat(Qt::PlainText);
    connect(m_unlock, &QPushButton::clicked, this, &ScreenLock::tryUnlock);
    connect(m_password, &QLineEdit::returnPressed, this, &ScreenLock::tryUnlock);

    auto* column = new QVBoxLayout(this);
    column->addStretch();
    for (QWidget* part : {static_cast<QWidget*>(title), static_cast<QWidget*>(prompt),
                          static_cast<QWidget*>(m_password), static_cast<QWidget*>(m_unlock),
                          static_cast<QWidget*>(m_message)})
        column->addWidget(part, 0, Qt::AlignHCenter);
    column->addStretch();
}

bool ScreenLock::lock()
{
    if (m_locked)
        return true;
    m_checkedAgainst = m_storedPassword();
    if (m_checkedAgainst.trimmed().isEmpty())
        return false;
    m_locked = true;
    m_focus = QApplication::focusWidget();
    clearOwnClipboard();
    hideOtherWindows();
    setWindowParts(false);
    setGeometry(parentWidget()->rect());
    m_password->clear();
    m_message->clear();
    show();
    raise();
    m_password->setFocus();
    return true;
}

// Text copied from a sheet (a name, a diagnosis) would stay readable by every other program
// while the window is locked. Only what this program put there is cleared: a clipboard that
// lives inside the program (no desktop to share it with) holds nothing else.
void ScreenLock::clearOwnClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString platform = QGuiApplication::platformName();
    const bool inProgram =
        platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
    if (clipboard->ownsClipboard() || inProgram)
        clipboard->clear(QClipboard::Clipboard);
    if (clipboard->supportsSelection() && clipboard->ownsSelection())
        clipboard->clear(QClipboard::Selection);
}

// Another window may show patient data too (a record's preview, the clinic log). A modal
// question that is hidden ends as if cancelled, which never deletes or overwrites anything.
void ScreenLock::hideOtherWindows()
{
    m_hidden.clear();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* other : windows) {
        if (other == window() || !other->isVisible())
            continue;
        m_hidden << other;
        other->hide();
    }
}

void ScreenLock::setWindowParts(bool enabled)
{
    auto* main = qobject_cast<QMainWindow*>(parentWidget());
    if (!main)
        return;
    main->centralWidget()->setEnabled(enabled);
    main->menuBar()->setEnabled(enabled);
    for (QToolBar* bar : main->findChildren<QToolBar*>())
        bar->setEnabled(enabled);
}

void ScreenLock::tryUnlock()
{
    if (!LoginCheck::accepts(m_password->text(), m_checkedAgainst)) {
        m_message->setText(QStringLiteral("密码错误！"));
        m_password->selectAll();
        return;
    }
    m_locked = false;
    m_password->clear();
    m_checkedAgainst.clear();
    hide();
    setWindowParts(true);
    for (const QPointer<QWidget>& other : std::as_const(m_hidden)) {
        if (other)
            other->show();
    }
    m_hidden.clear();
    if (m_focus)
        m_focus->setFocus();
    emit unlocked();
}

bool ScreenLock::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    // While locked no menu shortcut (新建, 保存 …) reaches the window underneath.
    if (m_locked && event->type() == QEvent::Shortcut)
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace quilloa
