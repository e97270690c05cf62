#include "ui/mainwindow/MainWindow.h"

#include "core/rtf/RtfReader.h"
#include "core/rtf/RtfWriter.h"
#include "core/settings/IdleLockSetting.h"
#include "core/store/UnsettledSave.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/MenuShortcutsFirst.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/ScreenPlacement.h"
#include "ui/common/Twips.h"
#include "ui/entry/ArchivePanel.h"
#include "ui/entry/BodyEditing.h"
#include "ui/entry/DrugPanel.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/EntryOrder.h"
#include "ui/entry/InjectionCard.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/entry/SheetLineEdit.h"
#include "ui/entry/UsageKeyBar.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/mainwindow/IdleWatch.h"
#include "ui/mainwindow/MainCommands.h"
#include "ui/mainwindow/MainWindowLayout.h"
#include "ui/mainwindow/PrescriptionDesk.h"
#include "ui/mainwindow/ProgramResources.h"
#include "ui/mainwindow/ScreenLock.h"
#include "ui/mainwindow/WindowOpener.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStyle>
#include <QTextEdit>

namespace quilloa {

MainWindow::MainWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_life(context.archive())
{
    loadProgramResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quilloa V2.0"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    // The window's default font, which the sheet's first six fields and the panels take.
    setFont(ChineseFaces::font(sheet::kSongti, 9));
    m_settings = new SettingsHolder(m_context, this);
    m_focusMemory = new EntryFocusMemory(this);
    m_windowOpener = new WindowOpener(m_context, m_settings, this);
    // The sheet on the desk stays as typed when a backup replaced the stores; the lists refill.
    connect(m_windowOpener, &WindowOpener::storesReplaced, this, &MainWindow::fillOnOpening);
    connect(m_windowOpener, &WindowOpener::drugsChanged, this, [this] { m_drugPanel->refresh(); });
    m_printing = std::make_unique<SheetPrinting>(m_context, m_settings, this);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(mainlayout::kClientWidth),
                         twipsToPixels(mainlayout::kClientHeight));
    setCentralWidget(client);

    buildPanels();
    buildDesk();
    m_commands = std::make_unique<MainCommands>(this, this, m_windowOpener);
    buildArchiveMenu();
    buildScreenLock();
    MenuShortcutsFirst::install(this, menuBar());
    connectSheet();
    connectEntryPanels();
    orderTabStops();

    showSheetState();
    fitOnScreen();
    centreOnScreen();
    fillOnOpening();
}

MainWindow::~MainWindow() = default;

QTextEdit* MainWindow::body() const
{
    return m_sheet->body();
}

void MainWindow::buildPanels()
{
    QWidget* client = centralWidget();
    m_drugPanel = new DrugPanel(m_context, client);
    m_drugPanel->setGeometry(pixels(mainlayout::kDrugFrame));
    m_archivePanel = new ArchivePanel(m_context, client);
    m_archivePanel->setGeometry(pixels(mainlayout::kArchiveFrame));
}

void MainWindow::buildDesk()
{
    m_desk = new PrescriptionDesk(m_context, m_focusMemory, centralWidget());
    m_sheet = m_desk->sheet();
    m_card = m_desk->card();
    m_keyboard = m_desk->keyboard();
    connect(m_desk, &PrescriptionDesk::pressed, this, &MainWindow::hideLookupLists);
    connect(m_desk, &PrescriptionDesk::cardLinkClicked, this, &MainWindow::printInjectionCard);
    m_usageBar = new UsageKeyBar(m_sheet->body(), m_drugPanel->searchBox(), centralWidget());
    m_usageBar->setGeometry(pixels(mainlayout::kUsageBar));
}

QWidget* MainWindow::desk() const
{
    return m_desk;
}

QToolBar* MainWindow::toolbar() const
{
    return m_commands->toolbar();
}

// The archive list's popup menu `mu`; it never shows in the menu bar.
void MainWindow::buildArchiveMenu()
{
    m_archiveMenu = new QMenu(this);
    m_archiveMenu->setObjectName(QStringLiteral("mu"));
    QAction* remove = m_archiveMenu->addAction(QStringLiteral("删除"));
    remove->setObjectName(QStringLiteral("muDelete"));
    connect(remove, &QAction::triggered, this, &MainWindow::deletePrescription);
    QAction* cancel = m_archiveMenu->addAction(QStringLiteral("取消"));
    cancel->setObjectName(QStringLiteral("muCancel"));
    connect(m_archivePanel, &ArchivePanel::menuWanted, m_archiveMenu,
            [this](const QPoint& at) { m_archiveMenu->popup(at); });
    connect(m_archivePanel, &ArchivePanel::deleteWanted, this, &MainWindow::deletePrescription);
    connect(m_archivePanel, &ArchivePanel::entryActivated, this, &MainWindow::showRecord);
}

void MainWindow::connectSheet()
{
    connect(m_sheet, &PrescriptionSheet::patientLineChanged, m_card,
            &InjectionCard::setPatientLine);
    connect(m_sheet, &PrescriptionSheet::visitDateChanged, m_card, &InjectionCard::setVisitDate);
}

// The drug picker writes into the body; the keyboard panel types into whichever of these entry
// controls had the focus last.
void MainWindow::connectEntryPanels()
{
    m_focusMemory->watchPlain(m_drugPanel->searchBox());
    m_focusMemory->watchPlain(m_archivePanel->nameBox());
    m_focusMemory->watchRich(body());
    m_focusMemory->watchRich(m_card->body());
    connect(m_drugPanel, &DrugPanel::searchBoxFocused, this, &MainWindow::hideLookupLists);
    connect(m_drugPanel, &DrugPanel::drugPicked, this,
            [this](const QString& entryText) { BodyEditing::appendDrug(body(), entryText); });
}

void MainWindow::orderTabStops()
{
    EntryOrder::apply(m_sheet, m_card, m_drugPanel, m_archivePanel);
}

// The sheet's fixed layout stays as it is; on a screen too small for it (a large scale factor)
// the client area scrolls inside a window that fits.
void MainWindow::fitOnScreen()
{
    const QSize whole = sizeHint();
    if (ScreenPlacement::fits(whole)) {
        setFixedSize(whole);
        return;
    }
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("clientScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(takeCentralWidget());
    setCentralWidget(scroll);
    setFixedSize(ScreenPlacement::fittedWithScrollBars(
        whole, style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
}

// The window stands 200 twips higher than centred.
void MainWindow::centreOnScreen()
{
    ScreenPlacement::centreOnScreen(this, 400);
}

// A store that cannot be read leaves its list empty; the window opens all the same.
void MainWindow::fillOnOpening()
{
    m_drugPanel->showFirstDrugs();
    m_archivePanel->rebuild();
}

void MainWindow::showSheetState()
{
    m_desk->setPanelsShown(m_life.state() != SheetState::NoSheet);
    m_commands->saveAction()->setEnabled(m_life.state() == SheetState::NewSheet);
}

void MainWindow::showTitle()
{
    m_sheet->setTitle(m_settings->clinicName());
}

void MainWindow::hideLookupLists()
{
    m_sheet->hideLookupLists();
}

void MainWindow::newPrescription()
{
    for (int i = 0; i < int(sheet::kFields.size()); ++i)
        m_sheet->setFieldText(i, QString());
    const QDateTime now = m_context.clock().now();
    m_life.start(now);
    m_sheet->setFieldText(sheet::VisitDateField, now.toString(QStringLiteral("yyyy-MM-dd")));
    m_sheet->setRecordKey(m_life.recordKey());
    m_sheet->setFieldText(sheet::DoctorField, m_settings->doctor());
    m_sheet->setFieldText(sheet::DispenserField, m_settings->dispenser());
    const StoreStatus settings = m_settings->readStatus();
    m_card->setPatientLine(QString());
    m_card->body()->clear();
    m_sheet->body()->clear();
    m_sheet->hideLookupLists();
    showSheetState();
    m_sheet->field(sheet::NameField)->setFocus(Qt::OtherFocusReason);
    showTitle();
    if (!settings.ok())
        PlainMessage::warn(this, QStringLiteral("新建"),
                           QStringLiteral("设置无法读取，医生、配药和诊所名称暂时空着，"
                                          "可以直接在处方上填写：%1")
                               .arg(settings.error()));
}

bool MainWindow::savePrescription()
{
    if (m_life.state() != SheetState::NewSheet)
        return false;
    // A composition still open (saved from the toolbar, which takes no focus) is committed into
    // its field first, cleaned like any commit, so its letters are neither lost nor stored as
    // the input method shows them.
    QGuiApplication::inputMethod()->reset();
    QString fee = m_sheet->fieldText(sheet::FeeField);
    fee.replace(QStringLiteral("。"), QStringLiteral("."));
    m_sheet->setFieldText(sheet::FeeField, fee);

    const SheetFields typed = m_sheet->fields();
    const StoreResult<qint64> stored =
        m_life.save(typed, RtfWriter::write(typed.body, sheet::kSongti.toString(),
                                            m_sheet->body()->font().pointSizeF()));
    if (!stored.ok()) {
        // Everything typed stays on the sheet and "保存" stays on, so the doctor can try again.
        // A save whose outcome is not known is told as such, not as a failure.
        PlainMessage::warn(this, QStringLiteral("保存"),
                           UnsettledSave::is(stored)
                               ? stored.error()
                               : QStringLiteral("处方未能保存：%1").arg(stored.error()));
        return false;
    }
    m_archivePanel->rebuild();
    showSheetState();
    return true;
}

void MainWindow::deletePrescription()
{
    QMessageBox question(QMessageBox::Warning, QStringLiteral("提示"),
                         QStringLiteral("确实要永久删除该病人档案吗？"),
                         QMessageBox::Ok | QMessageBox::Cancel, this);
    question.setObjectName(QStringLiteral("deleteQuestion"));
    if (question.exec() != QMessageBox::Ok)
        return;
    const std::optional<ArchiveEntry> entry = m_archivePanel->selectedEntry();
    if (!entry)
        return;
    const StoreStatus removed = m_life.remove(*entry);
    if (!removed.ok()) {
        PlainMessage::warn(this, QStringLiteral("提示"),
                           QStringLiteral("档案未能删除：%1").arg(removed.error()));
        return;
    }
    m_archivePanel->removeSelectedLine();
}

void MainWindow::showRecord(const ArchiveEntry& entry)
{
    const StoreResult<PrescriptionRecord> found = m_life.show(entry.rowId);
    if (!found.ok()) {
        refuseRecord(found.error());
        return;
    }
    const PrescriptionRecord& r = found.value();
    m_sheet->setRecordKey(r.key);
    m_sheet->showStoredFields(SheetFields::fromRecord(r));
    RtfReader::read(r.body).fillTextDocument(*m_sheet->body()->document());
    showSheetState();
    showTitle();
}

// A record that cannot be read must not leave another patient's sheet under its entry, on
// screen or on paper: a stored sheet that was shown is emptied and hidden, a new sheet being
// typed stays as it is, and no entry stays marked.
void MainWindow::refuseRecord(const QString& reason)
{
    m_archivePanel->archiveList()->clearSelection();
    if (m_life.isWithdrawn()) {
        clearSheet();
        showSheetState();
    }
    PlainMessage::warn(this, QStringLiteral("提示"),
                       QStringLiteral("无法显示该档案：%1").arg(reason));
}

void MainWindow::clearSheet()
{
    for (int i = 0; i < int(sheet::kFields.size()); ++i)
        m_sheet->setFieldText(i, QString());
    m_sheet->setRecordKey(QString());
    m_sheet->body()->clear();
    m_card->setPatientLine(QString());
}

void MainWindow::copyPrescription()
{
    m_life.copy(m_sheet->fields());
}

void MainWindow::pastePrescription()
{
    // The pasted sheet keeps today's visit date.
    const SheetFields pasted = m_life.pasted(m_sheet->fieldText(sheet::VisitDateField));
    // Pasted names would find themselves and open both lookup lists over the body.
    m_sheet->showStoredFields(pasted);
    QTextEdit* body = m_sheet->body();
    body->setPlainText(pasted.body);
    body->moveCursor(QTextCursor::End);
    body->setFocus(Qt::OtherFocusReason);
}

void MainWindow::printPrescription()
{
    // After a record could not be shown the sheet is empty: nothing to print, and nothing of
    // another patient either.
    if (m_life.isWithdrawn()) {
        PlainMessage::inform(this, QStringLiteral("打印"),
                             QStringLiteral("没有可打印的处方：请新建处方，或在档案中选择一份。"));
        return;
    }
    m_printing->printSheet(*m_sheet);
}

void MainWindow::printInjectionCard()
{
    m_printing->printCard(*m_card);
}

void MainWindow::previewPrescription()
{
    m_printing->previewSheet(*m_sheet);
}

void MainWindow::previewInjectionCard()
{
    m_printing->previewCard(*m_card);
}

void MainWindow::printAlignmentPage()
{
    m_printing->printAlignmentPage();
}

void MainWindow::endProgram()
{
    QCoreApplication::quit();
}

// Closing the main window ends the program at once, whatever other window is open.
// The lock asks for the login password as the settings hold it: read again when the settings
// window was closed since, and the last one read when the store cannot be reached.
void MainWindow::buildScreenLock()
{
    m_lock = new ScreenLock(this, [this] {
        ClinicSettings* settings = m_settings->settings();
        // Unreadable now: the password last read still unlocks, or the doctor is locked out.
        static_cast<void>(settings->refreshAll());
        return settings->storedPassword();
    });
    const IdleLockSetting idleLock(m_context.paths().dataFolder);
    m_idleWatch = new IdleWatch(
        m_context.clock(), [idleLock] { return idleLock.minutes(); }, this);
    connect(m_idleWatch, &IdleWatch::idle, m_lock, &ScreenLock::lock);
}

void MainWindow::lockScreen()
{
    if (!m_lock->lock())
        PlainMessage::inform(this, QStringLiteral("锁定"),
                             QStringLiteral("没有设置登录密码，无法锁定。请先在“设置 → 综合设置”"
                                            "中设置登录密码。"));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}

} // namespace quilloa
