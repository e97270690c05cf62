#include "ui/startup/LoginWindow.h"

#include "core/startup/LoginCheck.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/Twips.h"
#include "ui/common/TwipsLayout.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/startup/LoginWindowLayout.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace quilloa {
namespace {

const QColor kInk(0, 96, 112);

// A key: a ring for the bow, a shaft and two bits.
QPixmap keyPicture(int side)
{
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = side / 12.0;
    painter.setPen(QPen(kInk, unit * 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(unit * 3.5, unit * 3.5), unit * 2.2, unit * 2.2);
    QPainterPath shaft;
    shaft.moveTo(unit * 5.1, unit * 5.1);
    shaft.lineTo(unit * 10.5, unit * 10.5);
    shaft.moveTo(unit * 8.2, unit * 8.2);
    shaft.lineTo(unit * 9.6, unit * 6.8);
    shaft.moveTo(unit * 9.6, unit * 9.6);
    shaft.lineTo(unit * 11.0, unit * 8.2);
    painter.drawPath(shaft);
    return picture;
}

// A rule under the title that fades out to the right.
QPixmap rulePicture(const QSize& size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QLinearGradient fade(0, 0, size.width(), 0);
    fade.setColorAt(0, kInk);
    fade.setColorAt(1, Qt::transparent);
    painter.fillRect(picture.rect(), fade);
    return picture;
}

} // namespace

LoginWindow::LoginWindow(const AppContext& context, const QString& loginPassword, QWidget* parent)
    : QDialog(parent), m_context(context), m_loginPassword(loginPassword)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("登录"));
    setFont(ChineseFaces::font(u"宋体", 9));
    buildControls();
    TwipsLayout::apply(this, loginwindow::kPlacements);
    TwipsLayout::fixAndCentre(this, loginwindow::kClientWidth, loginwindow::kClientHeight);
    m_passwordBox->setFocus();
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::buildControls()
{
    auto* key = new QLabel(this);
    key->setObjectName(QStringLiteral("Image1"));
    key->setPixmap(keyPicture(twipsToPixels(loginwindow::kKeySide)));
    auto* rule = new QLabel(this);
    rule->setObjectName(QStringLiteral("Image2"));
    rule->setPixmap(rulePicture(
        QSize(twipsToPixels(loginwindow::kRuleWidth), twipsToPixels(loginwindow::kRuleHeight))));

    auto* title = new QLabel(QStringLiteral("Quilloa"), this);
    title->setObjectName(QStringLiteral("Label2"));
    title->setFont(ChineseFaces::font(u"楷体_GB2312", 18, true));
    auto* prompt = new QLabel(QStringLiteral("请输入登录密码："), this);
    prompt->setObjectName(QStringLiteral("lblVersion"));

    m_passwordBox = new QLineEdit(this);
    m_passwordBox->setObjectName(QStringLiteral("Text1"));
    m_passwordBox->setEchoMode(QLineEdit::Password);
    // Whatever the platform's own mask, each typed character shows as "*".
    m_passwordBox->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_passwordBox->installEventFilter(this);

    m_confirmButton = new QPushButton(QStringLiteral("确  定"), this);
    m_confirmButton->setObjectName(QStringLiteral("Command1"));
    m_cancelButton = new QPushButton(QStringLiteral("取  消"), this);
    m_cancelButton->setObjectName(QStringLiteral("Command2"));
    connect(m_confirmButton, &QPushButton::clicked, this, &LoginWindow::confirm);
    connect(m_cancelButton, &QPushButton::clicked, this, &LoginWindow::close);
    setTabOrder(m_passwordBox, m_confirmButton);
    setTabOrder(m_confirmButton, m_cancelButton);
}

void LoginWindow::confirm()
{
    // A password an older version kept in clear is replaced by its hash at this login.
    const LoginCheck::Outcome outcome =
        LoginCheck::acceptAndUpgrade(m_passwordBox->text(), m_loginPassword, m_context.archive());
    if (!outcome.accepted) {
        QMessageBox::information(this, QStringLiteral("Quilloa"), QStringLiteral("密码错误！"));
        return;
    }
    hide();
    m_mainWindow = std::make_unique<MainWindow>(m_context);
    m_mainWindow->show();
    // The password opens the program either way; that it still stands in clear is told.
    if (!outcome.upgrade.ok())
        PlainMessage::notify(m_mainWindow.get(), QStringLiteral("Quilloa"),
                             QStringLiteral("登录密码在档案中还是明文，没能换成加密后的形式：%1\n"
                                            "下次登录时程序会再试一次。")
                                 .arg(outcome.upgrade.error()));
}

// Escape is a cancel, like "取  消".
void LoginWindow::reject()
{
    close();
}

// Closing the login window, by "取  消" or the title bar, ends the program at once.
void LoginWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::quit();
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_passwordBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            confirm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quilloa
