#include "ui/mainwindow/MainWindow.h"

#include "core/backup/BackupRestore.h"
#include "core/printing/AlignmentPrintout.h"
#include "core/printing/InjectionCardPrintout.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/printing/PrintMargins.h"
#include "core/settings/IdleLockSetting.h"
#include "core/store/RtfReader.h"
#include "core/store/RtfWriter.h"
#include "ui/common/MenuShortcutsFirst.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/ScreenPlacement.h"
#include "ui/common/Twips.h"
#include "ui/entry/ArchivePanel.h"
#include "ui/entry/BodyEditing.h"
#include "ui/entry/DrugPanel.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/InjectionCard.h"
#include "ui/entry/KeyboardPanel.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/entry/SheetLineEdit.h"
#include "ui/entry/UsageKeyBar.h"
#include "ui/maintenance/BackupWindow.h"
#include "ui/maintenance/DrugWindow.h"
#include "ui/maintenance/ReferenceWindow.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/maintenance/SettingsWindow.h"
#include "ui/mainwindow/AboutWindow.h"
#include "ui/mainwindow/IdleWatch.h"
#include "ui/mainwindow/MainWindowLayout.h"
#include "ui/mainwindow/OnlineHelp.h"
#include "ui/mainwindow/ProgramResources.h"
#include "ui/mainwindow/ScreenLock.h"
#include "ui/printing/PrintPreviewDialog.h"
#include "ui/printing/PrintRunner.h"
#include "ui/reports/ClinicLogWindow.h"
#include "ui/reports/StatisticsWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>

#include <array>

namespace quilloa {
namespace {

using mainlayout::Rect;

QRect shadowOf(const Rect& r)
{
    return pixels(
        {r.left + mainlayout::kShadowOffset, r.top + mainlayout::kShadowOffset, r.width, r.height});
}

QLabel* makeShadow(const QString& name, const Rect& panel, QWidget* desk)
{
    auto* shadow = new QLabel(desk);
    shadow->setObjectName(name);
    shadow->setGeometry(shadowOf(panel));
    shadow->setAutoFillBackground(true);
    QPalette grey = shadow->palette();
    const int g = mainlayout::kShadowGrey;
    grey.setColor(QPalette::Window, QColor(g, g, g));
    shadow->setPalette(grey);
    return shadow;
}

// A button of Toolbar1: the command it runs, shown with its tooltip and icon.
struct ToolbarButton
{
    QAction* command;
    QString tooltip;
    QString icon;
};

// Opens a single-instance window: created when first asked for, discarded when closed, and
// brought to the front unchanged when it is already open.
template <class Window, class Make> void showSingle(QPointer<Window>& slot, Make make)
{
    if (!slot) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
}

} // namespace

MainWindow::MainWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_life(context.archive())
{
    loadProgramResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quilloa V2.0"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    // The window's default font, which the sheet's first six fields and the panels take.
    setFont(QFont(sheet::kSongti.toString(), 9));
    m_settings = new SettingsHolder(m_context, this);
    m_focusMemory = new EntryFocusMemory(this);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(mainlayout::kClientWidth),
                         twipsToPixels(mainlayout::kClientHeight));
    setCentralWidget(client);

    buildPanels();
    buildDesk();
    buildCommands();
    buildToolbar();
    buildMenus();
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
    QWidget* client = centralWidget();
    m_desk = new QWidget(client);
    m_desk->setObjectName(QStringLiteral("Picture1"));
    m_desk->setGeometry(pixels(mainlayout::kDesk));
    m_desk->setAutoFillBackground(true);
    QPalette teal = m_desk->palette();
    teal.setColor(QPalette::Window,
                  QColor(mainlayout::kDeskRed, mainlayout::kDeskGreen, mainlayout::kDeskBlue));
    m_desk->setPalette(teal);
    m_desk->installEventFilter(this);

    // Shadows first, so that each panel lies on top of its own.
    m_sheetShadow = makeShadow(QStringLiteral("Label1"), mainlayout::kSheet, m_desk);
    m_cardShadow = makeShadow(QStringLiteral("Label4"), mainlayout::kCard, m_desk);
    m_keyboardShadow = makeShadow(QStringLiteral("Label13"), mainlayout::kKeyboard, m_desk);

    m_sheet = new PrescriptionSheet(m_context, m_focusMemory, m_desk);
    m_sheet->move(pixels(mainlayout::kSheet).topLeft());
    m_card = new InjectionCard(m_desk);
    m_card->move(pixels(mainlayout::kCard).topLeft());
    m_keyboard = new KeyboardPanel(m_focusMemory, m_desk);
    m_keyboard->setGeometry(pixels(mainlayout::kKeyboard));

    m_cardLinkImage = new QLabel(m_desk);
    m_cardLinkImage->setObjectName(QStringLiteral("Image1"));
    m_cardLinkImage->setGeometry(pixels(mainlayout::kCardLinkImage));
    m_cardLinkImage->setPixmap(
        QIcon(QStringLiteral(":/icons/card.svg")).pixmap(m_cardLinkImage->size()));
    m_cardLink = new QLabel(QStringLiteral("打印注射卡"), m_desk);
    m_cardLink->setObjectName(QStringLiteral("Label7"));
    m_cardLink->move(pixels(mainlayout::kCardLink).topLeft());
    QPalette cyan = m_cardLink->palette();
    cyan.setColor(QPalette::WindowText,
                  QColor(mainlayout::kLinkRed, mainlayout::kLinkGreen, mainlayout::kLinkBlue));
    m_cardLink->setPalette(cyan);
    QFont underlined = m_cardLink->font();
    underlined.setUnderline(true);
    m_cardLink->setFont(underlined);
    m_cardLink->adjustSize();
    m_cardLink->setCursor(Qt::PointingHandCursor);
    m_cardLink->installEventFilter(this);

    m_usageBar = new UsageKeyBar(m_sheet->body(), m_drugPanel->searchBox(), client);
    m_usageBar->setGeometry(pixels(mainlayout::kUsageBar));
}

QAction* MainWindow::command(const char* name, const QString& caption, char key,
                             const std::function<void()>& run)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (key != 0)
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + (key - 'A'))));
    connect(action, &QAction::triggered, this, run);
    return action;
}

// The commands the toolbar shows as well as (most of them) the menu.
void MainWindow::buildCommands()
{
    m_newAction = command("menuNew", QStringLiteral("新建"), 'N', [this] { newPrescription(); });
    m_saveAction = command("menuSave", QStringLiteral("保存"), 'S', [this] { savePrescription(); });
    m_printAction =
        command("menuPrint", QStringLiteral("打印"), 'P', [this] { printPrescription(); });
    m_copyAction =
        command("copyCommand", QStringLiteral("复制"), 0, [this] { copyPrescription(); });
    m_pasteAction =
        command("pasteCommand", QStringLiteral("粘贴"), 0, [this] { pastePrescription(); });
    m_statisticsAction =
        command("menuStatistics", QStringLiteral("统计"), 'D', [this] { showStatistics(); });
    m_exitAction = command("menuExit", QStringLiteral("退出"), 'E', [this] { endProgram(); });
}

void MainWindow::buildToolbar()
{
    auto* frame = new QFrame(centralWidget());
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(pixels(mainlayout::kTopFrame));
    m_toolbar = new QToolBar(frame);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(pixels(mainlayout::kToolbar));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(16, 16));
    const std::array<ToolbarButton, 7> buttons{{
        {m_newAction, QStringLiteral("新建处方"), QStringLiteral(":/icons/new.svg")},
        {m_saveAction, QStringLiteral("保存处方"), QStringLiteral(":/icons/save.svg")},
        {m_printAction, QStringLiteral("打印处方"), QStringLiteral(":/icons/print.svg")},
        {m_copyAction, QStringLiteral("复制处方"), QStringLiteral(":/icons/copy.svg")},
        {m_pasteAction, QStringLiteral("粘贴处方"), QStringLiteral(":/icons/paste.svg")},
        {m_statisticsAction, QStringLiteral("工作量统计"),
         QStringLiteral(":/icons/statistics.svg")},
        {m_exitAction, QStringLiteral("退出"), QStringLiteral(":/icons/exit.svg")},
    }};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QAction* action = buttons[i].command;
        action->setToolTip(buttons[i].tooltip);
        action->setIcon(QIcon(buttons[i].icon));
        // The menu shows its items as text alone.
        action->setIconVisibleInMenu(false);
        m_toolbar->addAction(action);
        m_toolbar->widgetForAction(action)->setObjectName(
            QStringLiteral("Toolbar1_Button%1").arg(i + 1));
    }
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addActions({m_newAction, m_saveAction});
    file->addSeparator();
    file->addAction(m_statisticsAction);
    file->addAction(
        command("menuClinicLog", QStringLiteral("门诊日志"), 'G', [this] { showClinicLog(); }));
    file->addSeparator();
    file->addAction(m_printAction);
    file->addAction(command("menuPrintPreview", QStringLiteral("打印预览"), 0,
                            [this] { previewPrescription(); }));
    file->addAction(command("menuCardPreview", QStringLiteral("注射卡预览"), 0,
                            [this] { previewInjectionCard(); }));
    file->addAction(command("menuAlignmentPage", QStringLiteral("打印对位测试页"), 0,
                            [this] { printAlignmentPage(); }));
    file->addSeparator();
    file->addAction(command("menuLock", QStringLiteral("锁定"), 'L', [this] { lockScreen(); }));
    file->addAction(m_exitAction);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("设置(&S)"));
    settings->setObjectName(QStringLiteral("menuSettings"));
    settings->addAction(
        command("menuDrugs", QStringLiteral("药品维护"), 'J', [this] { showDrugWindow(); }));
    settings->addAction(command("menuDiagnoses", QStringLiteral("诊断名称"), 'I',
                                [this] { showDiagnosisWindow(); }));
    settings->addAction(
        command("menuAddresses", QStringLiteral("地址库"), 'M', [this] { showAddressWindow(); }));
    settings->addSeparator();
    settings->addAction(
        command("menuGeneral", QStringLiteral("综合设置"), 'W', [this] { showSettings(); }));
    settings->addSeparator();
    settings->addAction(command("menuRestoreBackup", QStringLiteral("恢复备份..."), 0,
                                [this] { showBackupWindow(); }));
    settings->addAction(
        command("menuBackUpNow", QStringLiteral("立即备份"), 0, [this] { backUpNow(); }));

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(
        command("menuOnlineHelp", QStringLiteral("在线帮助"), 'H', [this] { openHelp(); }));
    help->addAction(command("menuAbout", QStringLiteral("关于"), 'Z', [this] { showAbout(); }));
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
    m_archivePanel->archiveList()->viewport()->installEventFilter(this);
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

// Enter in a field moves along this order, so the address field leads to the drug search box.
void MainWindow::orderTabStops()
{
    const QList<QWidget*> order = {
        m_sheet->field(sheet::NameField),      m_sheet->field(sheet::SexField),
        m_sheet->field(sheet::AgeField),       m_sheet->field(sheet::DiagnosisField),
        m_sheet->field(sheet::AddressField),   m_drugPanel->searchBox(),
        m_sheet->field(sheet::VisitDateField), m_sheet->field(sheet::DoctorField),
        m_sheet->field(sheet::DispenserField), m_sheet->body(),
        m_sheet->field(sheet::FeeField),       m_card->body(),
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
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

void MainWindow::setSheetPanelsShown(bool shown)
{
    for (QWidget* panel :
         {static_cast<QWidget*>(m_sheet), static_cast<QWidget*>(m_sheetShadow),
          static_cast<QWidget*>(m_card), static_cast<QWidget*>(m_cardShadow),
          static_cast<QWidget*>(m_cardLink), static_cast<QWidget*>(m_cardLinkImage),
          static_cast<QWidget*>(m_keyboard), static_cast<QWidget*>(m_keyboardShadow)})
        panel->setVisible(shown);
}

void MainWindow::showSheetState()
{
    setSheetPanelsShown(m_life.state() != SheetState::NoSheet);
    m_saveAction->setEnabled(m_life.state() == SheetState::NewSheet);
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
        PlainMessage::warn(this, QStringLiteral("保存"),
                           QStringLiteral("处方未能保存：%1").arg(stored.error()));
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
    m_sheet->setFields(pasted);
    QTextEdit* body = m_sheet->body();
    body->setPlainText(pasted.body);
    body->moveCursor(QTextCursor::End);
    body->setFocus(Qt::OtherFocusReason);
}

std::optional<ClinicSettings::StoredMargins> MainWindow::printMargins()
{
    const auto read = m_settings->settings()->storedMargins();
    if (read.ok())
        return read.value();
    PlainMessage::warn(this, QStringLiteral("打印"),
                       QStringLiteral("打印边距无法读取，没有打印。\n%1").arg(read.error()));
    return std::nullopt;
}

void MainWindow::print(const PrintJobMaker& make)
{
    if (const auto margins = printMargins()) {
        const PrintJob job = make(*margins);
        if (agreeToMoreSheets(job))
            PrintRunner::print(this, job.drawing, job.name, m_printerFactory);
    }
}

bool MainWindow::agreeToMoreSheets(const PrintJob& job)
{
    if (job.sheets <= 1)
        return true;
    return PlainMessage::ask(
        this, QStringLiteral("打印"),
        QStringLiteral("一张%1印不下：还有 %2 行印不到第一张上。\n要把这 %2 行按同样的格式接着印在"
                       "第二张%1上吗（共 %3 张）？\n选“否”不打印，可以回去把内容改短。")
            .arg(job.sheetWord)
            .arg(job.rowsAfterFirst)
            .arg(job.sheets));
}

void MainWindow::preview(const PrintJobMaker& make)
{
    if (const auto margins = printMargins()) {
        const PrintJob job = make(*margins);
        PrintPreviewDialog dialog(job.drawing, job.name, PrintRunner::systemQueue(), this);
        if (job.sheets > 1) {
            dialog.noteContinuation(
                QStringLiteral("一张%1印不下：第一张之后的 %2 行接着印在第二张上，"
                               "见第 2 页（共 %3 张）。")
                    .arg(job.sheetWord)
                    .arg(job.rowsAfterFirst)
                    .arg(job.sheets));
        }
        dialog.exec();
    }
}

// The sheet and the card print as they stand, saved or not.
MainWindow::PrintJob MainWindow::sheetJob(const ClinicSettings::StoredMargins& margins) const
{
    const PrescriptionPrintout printout(m_sheet->printedSheet(), margins.sheet);
    return {[printout](PageDevice& device) { return printout.print(device); },
            printout.jobName(m_context.clock().now().date()), QStringLiteral("处方笺"),
            printout.sheetCount(), printout.rowsAfterFirstSheet()};
}

MainWindow::PrintJob MainWindow::cardJob(const ClinicSettings::StoredMargins& margins) const
{
    const InjectionCardPrintout printout(m_card->printedCard(), margins.card);
    return {[printout](PageDevice& device) { return printout.print(device); },
            printout.jobName(m_context.clock().now().date()), QStringLiteral("注射卡"),
            printout.sheetCount(), printout.rowsAfterFirstSheet()};
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
    print([this](const auto& margins) { return sheetJob(margins); });
}

void MainWindow::printInjectionCard()
{
    print([this](const auto& margins) { return cardJob(margins); });
}

void MainWindow::previewPrescription()
{
    preview([this](const auto& margins) { return sheetJob(margins); });
}

void MainWindow::previewInjectionCard()
{
    preview([this](const auto& margins) { return cardJob(margins); });
}

// The page shows where the sheet and the card print at the stored margins.
void MainWindow::printAlignmentPage()
{
    print([](const ClinicSettings::StoredMargins& margins) {
        const AlignmentPrintout page(margins.sheet, margins.card);
        return PrintJob{[page](PageDevice& device) { return page.print(device); },
                        QStringLiteral("对位测试页")};
    });
}

void MainWindow::showDrugWindow()
{
    showSingle(m_drugWindow, [this] { return new DrugWindow(m_context, this); });
}

void MainWindow::showDiagnosisWindow()
{
    showSingle(m_diagnosisWindow,
               [this] { return new ReferenceWindow(m_context, ReferenceList::Diagnoses, this); });
}

void MainWindow::showAddressWindow()
{
    showSingle(m_addressWindow,
               [this] { return new ReferenceWindow(m_context, ReferenceList::Addresses, this); });
}

void MainWindow::showStatistics()
{
    showSingle(m_statisticsWindow, [this] { return new StatisticsWindow(m_context, this); });
}

void MainWindow::showClinicLog()
{
    showSingle(m_clinicLogWindow,
               [this] { return new ClinicLogWindow(m_context, m_settings->doctorReader(), this); });
}

void MainWindow::showSettings()
{
    m_settings->show();
}

void MainWindow::showAbout()
{
    showSingle(m_aboutWindow, [this] { return new AboutWindow(m_context.paths(), this); });
}

void MainWindow::openHelp()
{
    OnlineHelp::open();
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
        settings->refreshAll();
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_desk && event->type() == QEvent::MouseButtonPress) {
        hideLookupLists();
    } else if (watched == m_cardLink && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            printInjectionCard();
    } else if (watched == m_archivePanel->archiveList()->viewport() &&
               event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && m_archivePanel->lineCount() > 0)
            m_archiveMenu->popup(mouse->globalPosition().toPoint());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showBackupWindow()
{
    showSingle(m_backupWindow, [this] {
        auto* window = new BackupWindow(m_context, this);
        connect(window, &BackupWindow::restored, this, &MainWindow::reloadAfterRestore);
        return window;
    });
}

void MainWindow::backUpNow()
{
    const BackupRestore::Outcome outcome = BackupRestore::backUpNow(m_context);
    if (outcome.ok)
        PlainMessage::inform(this, QStringLiteral("立即备份"), outcome.message);
    else
        PlainMessage::warn(this, QStringLiteral("立即备份"), outcome.message);
    if (m_backupWindow)
        m_backupWindow->refresh();
}

// Windows that hold rows or settings of the replaced stores are closed, so nothing of the old
// stores can be written over the restored ones; the sheet on the desk stays as typed.
void MainWindow::reloadAfterRestore()
{
    for (QWidget* window : {static_cast<QWidget*>(m_drugWindow.data()),
                            static_cast<QWidget*>(m_diagnosisWindow.data()),
                            static_cast<QWidget*>(m_addressWindow.data()),
                            static_cast<QWidget*>(m_statisticsWindow.data()),
                            static_cast<QWidget*>(m_clinicLogWindow.data())}) {
        if (window)
            window->close();
    }
    m_settings->drop();
    fillOnOpening();
}

} // namespace quilloa
