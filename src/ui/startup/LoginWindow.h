#pragma once

#include "core/startup/AppContext.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

namespace quilloa {

class MainWindow;

// "登录" (Form9): asks for the login password before the main window opens. The right password
// hides this window and opens the main window, which this window then keeps for the run; a
// wrong one is refused with the typed text left in the box. Cancelling or closing the window
// ends the program.
class LoginWindow : public QDialog
{
    Q_OBJECT
public:
    LoginWindow(const AppContext& context, const QString& loginPassword, QWidget* parent = nullptr);
    ~LoginWindow() override;

    // The main window opened by a successful login; null before that.
    MainWindow* mainWindow() const { return m_mainWindow.get(); }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void confirm();

    AppContext m_context;
    QString m_loginPassword;
    QLineEdit* m_passwordBox = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::unique_ptr<MainWindow> m_mainWindow;
};

} // namespace quilloa
