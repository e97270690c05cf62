#include "ui/common/PlainMessage.h"

#include "core/text/SecretMask.h"

#include <QAbstractButton>

namespace quilloa {

int PlainMessage::run(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                      const QString& text, QMessageBox::StandardButtons buttons,
                      const QString& details, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, SecretMask::mask(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(SecretMask::mask(details));
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    if (QAbstractButton* retry = box.button(QMessageBox::Retry))
        retry->setText(QStringLiteral("重试"));
    if (QAbstractButton* close = box.button(QMessageBox::Close))
        close->setText(QStringLiteral("退出"));
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(QStringLiteral("确定"));
    return box.exec();
}

void PlainMessage::warn(QWidget* parent, const QString& title, const QString& text,
                        const QString& details)
{
    run(QMessageBox::Warning, parent, title, text, QMessageBox::Ok, details);
}

void PlainMessage::inform(QWidget* parent, const QString& title, const QString& text,
                          const QString& details)
{
    run(QMessageBox::Information, parent, title, text, QMessageBox::Ok, details);
}

bool PlainMessage::ask(QWidget* parent, const QString& title, const QString& text)
{
    return run(QMessageBox::Question, parent, title, text, QMessageBox::Yes | QMessageBox::No,
               QString(), QMessageBox::No) == QMessageBox::Yes;
}

bool PlainMessage::askRetry(QWidget* parent, const QString& title, const QString& text)
{
    return run(QMessageBox::Warning, parent, title, text,
               QMessageBox::Retry | QMessageBox::Close) == QMessageBox::Retry;
}

QMessageBox* PlainMessage::notify(QWidget* parent, const QString& title, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Warning, title, SecretMask::mask(text),
                                QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("notice"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box->show();
    return box;
}

} // namespace quilloa
