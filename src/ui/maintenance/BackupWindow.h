#pragma once

#include "core/backup/BackupCopy.h"
#include "core/backup/BackupRestore.h"
#include "core/startup/AppContext.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quilloa {

// "恢复备份": the copies in the backup folder with their date, prescriptions
// and last visit, each checked before it is offered; a restore asks once and
// keeps the current data in a "恢复前" folder. "立即备份" takes a checked copy
// at once.
class BackupWindow : public QDialog
{
    Q_OBJECT
public:
    explicit BackupWindow(const AppContext& context, QWidget* parent = nullptr);

    const QList<BackupCopy>& copies() const { return m_copies; }
    void refresh();
    // Lists the copies of `folder` (a USB drive, another computer's backups) instead of the
    // backup folder's; an empty folder lists the backup folder's again.
    void showFolder(const QString& folder);
    // Without asking: what the buttons do after the question.
    BackupRestore::Outcome restoreLine(int line);
    BackupRestore::Outcome backUpNow();

signals:
    // The stores now hold a restored copy; every window showing store data must
    // read again.
    void restored();

private:
    void buildControls();
    void showCopies();
    void restoreSelected();
    void backUpAndTell();
    void chooseFolder();
    void updateRestoreButton();
    QString selectedFolder() const;
    void selectFolder(const QString& folder);

    AppContext m_context;
    QTableWidget* m_table = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_restoreButton = nullptr;
    QList<BackupCopy> m_copies;
    QString m_chosenFolder;
};

} // namespace quilloa
