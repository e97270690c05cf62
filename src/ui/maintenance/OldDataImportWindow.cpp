#include "ui/maintenance/OldDataImportWindow.h"

#include "core/oldimport/ImportReport.h"
#include "core/store/StoreConnection.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/PlainMessage.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

namespace quilloa {

OldDataImportWindow::OldDataImportWindow(const AppContext& context, QString oldFolder,
                                         QWidget* parent)
    : QDialog(parent), m_context(context), m_oldFolder(std::move(oldFolder))
{
    setObjectName(QStringLiteral("OldDataImportWindow"));
    setWindowTitle(QStringLiteral("导入旧数据"));
    buildControls();
    PlainButtons::install(this);
}

// The work is waited for: neither a read nor an import is cut off halfway.
OldDataImportWindow::~OldDataImportWindow()
{
    if (m_worker)
        m_worker->wait();
}

bool OldDataImportWindow::importInto(const AppContext& context, QWidget* parent)
{
    if (context.location().isServer()) {
        PlainMessage::warn(parent, QStringLiteral("导入旧数据"),
                           OldDataImport::serverRefusal(context.location()));
        return false;
    }
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("选择旧程序的文件夹（或其中的“数据库”文件夹）"));
    if (folder.isEmpty())
        return false;
    OldDataImportWindow window(context, folder, parent);
    window.survey();
    window.exec();
    return window.imported();
}

void OldDataImportWindow::buildControls()
{
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("ImportText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(560);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ImportProgress"));
    m_takeOld = new QRadioButton(this);
    m_takeOld->setObjectName(QStringLiteral("TakeOldSettings"));
    m_keepCurrent = new QRadioButton(this);
    m_keepCurrent->setObjectName(QStringLiteral("KeepCurrentSettings"));
    m_keepCurrent->setChecked(true);
    m_takeOld->hide();
    m_keepCurrent->hide();
    m_importButton = new QPushButton(QStringLiteral("导入"), this);
    m_importButton->setObjectName(QStringLiteral("ImportButton"));
    m_importButton->setEnabled(false);
    m_closeButton = new QPushButton(QStringLiteral("关闭"), this);
    m_closeButton->setObjectName(QStringLiteral("CloseButton"));
    connect(m_importButton, &QPushButton::clicked, this, &OldDataImportWindow::startImport);
    connect(m_closeButton, &QPushButton::clicked, this, &OldDataImportWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_importButton);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_takeOld);
    layout->addWidget(m_keepCurrent);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
}

void OldDataImportWindow::reject()
{
    if (!isWorking())
        QDialog::reject();
}

void OldDataImportWindow::runAside(std::function<void()> work, std::function<void()> done)
{
    m_importButton->setEnabled(false);
    m_closeButton->setEnabled(false);
    m_worker = QThread::create(std::move(work));
    connect(m_worker, &QThread::finished, this, [this, done = std::move(done)] {
        m_worker->deleteLater();
        m_worker = nullptr;
        m_closeButton->setEnabled(true);
        done();
    });
    m_worker->start();
}

void OldDataImportWindow::showProgress(qint64 records, bool writing)
{
    const qint64 total = m_data.recordCount;
    if (writing && total > 0) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(int(records * 1000 / total));
        m_progress->setFormat(QStringLiteral("已导入%1张处方，共%2张").arg(records).arg(total));
    } else {
        m_progress->setRange(0, 0);
        m_progress->setFormat(QStringLiteral("已读到%1张处方").arg(records));
    }
}

void OldDataImportWindow::survey()
{
    m_text->setText(QStringLiteral("正在读取“%1”……").arg(QDir::toNativeSeparators(m_oldFolder)));
    showProgress(0, false);
    const OldDataImport import(m_context.paths());
    const QDateTime now = m_context.now();
    auto progress = [this](qint64 records, bool writing) {
        QMetaObject::invokeMethod(this,
                                  [this, records, writing] { showProgress(records, writing); });
    };
    runAside(
        [this, import, now, progress] {
            m_read = import.survey(m_oldFolder, m_data, progress);
            if (m_read.ok())
                m_plan = import.write(m_data, SettingsChoice::Auto, true, now);
        },
        [this] { showFound(); });
}

QString OldDataImportWindow::currentSettingsLine() const
{
    const StoreResult<SettingsRecord> current = m_context.settings().settings();
    if (!current.ok())
        return current.error();
    return QStringLiteral("诊所“%1”，医生“%2”")
        .arg(current.value().clinicName, current.value().doctor);
}

void OldDataImportWindow::showFound()
{
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    if (!m_read.ok() || !m_plan.ok) {
        m_text->setText(m_read.ok() ? m_plan.message : m_read.message());
        return;
    }
    m_text->setText(ImportReport::found(m_data) + QStringLiteral("\n\n") + m_plan.message);
    if (m_plan.counts.settings == ImportCounts::Settings::Kept) {
        m_takeOld->setText(QStringLiteral("改用旧的设置：") + ImportReport::settingsLine(m_data));
        m_keepCurrent->setText(QStringLiteral("保留现在的设置：") + currentSettingsLine());
        m_takeOld->show();
        m_keepCurrent->show();
    }
    m_importButton->setEnabled(true);
    m_importButton->setFocus();
}

void OldDataImportWindow::startImport()
{
    const SettingsChoice choice = m_takeOld->isHidden()    ? SettingsChoice::Auto
                                  : m_takeOld->isChecked() ? SettingsChoice::TakeOld
                                                           : SettingsChoice::KeepCurrent;
    m_takeOld->setEnabled(false);
    m_keepCurrent->setEnabled(false);
    showProgress(0, true);
    // The held connections let go of the files, so the window reads the imported stores afresh.
    StoreConnection::closeAll();
    const OldDataImport import(m_context.paths());
    const QDateTime now = m_context.now();
    auto progress = [this](qint64 records, bool writing) {
        QMetaObject::invokeMethod(this,
                                  [this, records, writing] { showProgress(records, writing); });
    };
    runAside([this, import, choice, now,
              progress] { m_outcome = import.write(m_data, choice, false, now, progress); },
             [this] { showOutcome(); });
}

void OldDataImportWindow::showOutcome()
{
    StoreConnection::closeAll();
    m_imported = m_outcome.ok;
    m_progress->setValue(m_progress->maximum());
    m_text->setText(m_outcome.message);
    m_importButton->hide();
    m_closeButton->setFocus();
}

} // namespace quilloa
