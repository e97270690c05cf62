#include "ui/common/ConflictQuestion.h"

#include "core/text/SecretMask.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace quilloa {

ConflictQuestion::Answer ConflictQuestion::ask(QWidget* parent, const QString& title,
                                               const QString& what, const QString& theirs,
                                               const QString& mine)
{
    QString text = QStringLiteral("%1在本窗口读出之后，已被另一台电脑改过。").arg(what);
    if (!theirs.isEmpty() || !mine.isEmpty())
        text += QStringLiteral("\n另一台电脑存的是：“%1”\n您填写的是：“%2”").arg(theirs, mine);
    text += QStringLiteral("\n要保留您填写的，还是采用另一台电脑存的？");
    QMessageBox box(QMessageBox::Question, title, SecretMask::mask(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("保留我的"));
    box.button(QMessageBox::No)->setText(QStringLiteral("采用对方的"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    // Neither choice is taken by a stray Enter: both replace someone's work.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::KeepMine;
    case QMessageBox::No:
        return Answer::TakeTheirs;
    default:
        return Answer::Cancel;
    }
}

} // namespace quilloa
