#pragma once

#include "startup/AppContext.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace quilloa {

class MainWindow;

// Asks for the login password before the main window opens.
class LoginWindow : public QDialog
{
    Q_OBJECT
public:
    LoginWindow(const AppContext& context, const QString& loginPassword, QWidget* parent = nullptr);
    ~LoginWindow() override;

    // The main window opened by a successful login; null before that.
    MainWindow* mainWindow() const { return m_mainWindow.get(); }

private:
    void confirm();

    AppContext m_context;
    QString m_loginPassword;
    QLineEdit* m_passwordBox = nullptr;
    std::unique_ptr<MainWindow> m_mainWindow;
};

} // namespace quilloa
