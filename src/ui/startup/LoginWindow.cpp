#include "startup/LoginWindow.h"

#include "mainwindow/MainWindow.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilloa {

LoginWindow::LoginWindow(const AppContext& context, const QString& loginPassword, QWidget* parent)
    : QDialog(parent), m_context(context), m_loginPassword(loginPassword)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("登录"));
    auto* layout = new QVBoxLayout(this);
    m_passwordBox = new QLineEdit(this);
    m_passwordBox->setObjectName(QStringLiteral("Text1"));
    m_passwordBox->setEchoMode(QLineEdit::Password);
    auto* ok = new QPushButton(QStringLiteral("确  定"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(m_passwordBox);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &LoginWindow::confirm);
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::confirm()
{
    if (m_passwordBox->text().trimmed().toLower() != m_loginPassword.trimmed().toLower()) {
        QMessageBox::information(this, QStringLiteral("Quilloa"), QStringLiteral("密码错误！"));
        return;
    }
    hide();
    m_mainWindow = std::make_unique<MainWindow>(m_context);
    m_mainWindow->show();
}

} // namespace quilloa
