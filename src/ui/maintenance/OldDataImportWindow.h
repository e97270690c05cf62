#pragma once

#include "core/oldimport/ImportCounts.h"
#include "core/oldimport/OldData.h"
#include "core/oldimport/OldDataImport.h"
#include "core/startup/AppContext.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QThread;

namespace quilloa {

// "导入旧数据…": the older program's folder is read whole first and what it holds is shown, with
// what the import would do; a settings record the clinic has already changed is shown beside the
// old one to choose between. Only then does "导入" write, with a progress bar that is watched to
// its end (an import is never left half done), and the window ends with the import's report.
class OldDataImportWindow : public QDialog
{
    Q_OBJECT
public:
    OldDataImportWindow(const AppContext& context, QString oldFolder, QWidget* parent = nullptr);
    ~OldDataImportWindow() override;

    // Asks for the old folder and runs the window; true when the stores were written.
    static bool importInto(const AppContext& context, QWidget* parent);

    bool imported() const { return m_imported; }
    // Starts reading the old folder; the window tells what it found when done.
    void survey();
    void startImport();
    bool isWorking() const { return m_worker != nullptr; }

protected:
    void reject() override;

private:
    void buildControls();
    // Runs `work` on a thread of its own, then `done` here.
    void runAside(std::function<void()> work, std::function<void()> done);
    void showProgress(qint64 records, bool writing);
    void showFound();
    void showOutcome();
    QString currentSettingsLine() const;

    AppContext m_context;
    QString m_oldFolder;
    OldData m_data;
    JetStatus m_read;
    OldDataImport::Outcome m_plan;
    OldDataImport::Outcome m_outcome;
    bool m_imported = false;
    QThread* m_worker = nullptr;

    QLabel* m_text = nullptr;
    QProgressBar* m_progress = nullptr;
    QRadioButton* m_takeOld = nullptr;
    QRadioButton* m_keepCurrent = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace quilloa
