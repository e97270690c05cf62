#include "ui/maintenance/SettingsWindow.h"

#include "ui/common/ChineseFaces.h"
#include "ui/common/ConflictQuestion.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/ScreenPlacement.h"
#include "ui/common/Twips.h"
#include "ui/maintenance/SettingsWindowLayout.h"
#include "ui/maintenance/TypedEntry.h"
#include "ui/maintenance/WindowControls.h"
#include "ui/printing/CellTextLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <utility>

namespace quilloa {
namespace {

enum class Frame
{
    Settings,
    Print
};

struct BoxCaption
{
    Frame frame;
    const char* captionName;
    QStringView caption;
};

// Text1 .. Text8 in box order; the focus order is the same.
constexpr std::array<BoxCaption, 8> kBoxes{{
    {Frame::Settings, "Label1", u"名称："},
    {Frame::Settings, "Label2", u"医生："},
    {Frame::Settings, "Label3", u"配药："},
    {Frame::Print, "Label4", u"处方左边距："},
    {Frame::Print, "Label5", u"处方上边距："},
    {Frame::Print, "Label6", u"注射卡左边距："},
    {Frame::Print, "Label7", u"注射卡上边距："},
    {Frame::Settings, "Label8", u"密码："},
}};

} // namespace

SettingsWindow::SettingsWindow(ClinicSettings* settings, QWidget* parent, IdleLockSetting idleLock)
    : QDialog(parent), m_settings(settings), m_idleLockSetting(std::move(idleLock))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("基本设置"));
    setFont(ChineseFaces::font(u"宋体", 9));
    setFixedSize(twipsToPixels(settingswindow::kClientWidth),
                 twipsToPixels(settingswindow::kClientHeight));
    buildControls();
    TwipsLayout::apply(this, settingswindow::kPlacements);
    fitStoreInUse();
    // A failed read is told when the window is shown (showEvent), not while it is being made.
    static_cast<void>(m_settings->refresh());
    showValues();
    for (int i = 0; i < ClinicSettings::kFieldCount; ++i) {
        const auto which = ClinicSettings::Field(i);
        connect(m_boxes[i], &QLineEdit::textChanged, this, [this, which] { boxChanged(which); });
    }
    connect(m_settings, &ClinicSettings::changed, this, &SettingsWindow::showValues);
    ScreenPlacement::centreOnScreen(this);
}

void SettingsWindow::buildControls()
{
    auto* settingsFrame = new QGroupBox(QStringLiteral("基本设置"), this);
    settingsFrame->setObjectName(QStringLiteral("Frame1"));
    auto* printFrame = new QGroupBox(QStringLiteral("打印设置(单位：毫米)"), this);
    printFrame->setObjectName(QStringLiteral("Frame2"));

    m_confirm = new QPushButton(QStringLiteral("确 定"), this);
    m_confirm->setObjectName(QStringLiteral("Command1"));
    m_confirm->setAutoDefault(false);
    connect(m_confirm, &QPushButton::clicked, this, &SettingsWindow::confirm);

    QWidget* previous = m_confirm;
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const BoxCaption& shape = kBoxes[i];
        QWidget* frame = shape.frame == Frame::Settings ? settingsFrame : printFrame;
        auto* caption = new QLabel(shape.caption.toString(), frame);
        caption->setObjectName(QLatin1String(shape.captionName));
        auto* box = new QLineEdit(frame);
        box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        m_boxes[i] = box;
        setTabOrder(previous, box);
        previous = box;
    }
    explainMargins(printFrame);
    buildLockRow(settingsFrame);
    setTabOrder(previous, m_idleLock);
    setTabOrder(m_idleLock, m_clearPassword);
    showStoreInUse();
    buildPasswordBox();
    // The first thing typed belongs in the first box, the clinic's name; "确 定" ends the round.
    m_boxes[0]->setFocus();
}

// A password being typed is not for the eyes of whoever stands behind the doctor; the eye at the
// box's end shows it while the doctor wants to check it.
void SettingsWindow::buildPasswordBox()
{
    QLineEdit* box = m_boxes[ClinicSettings::Password];
    box->setMaxLength(kPasswordLimit);
    box->setEchoMode(QLineEdit::Password);
    QAction* reveal =
        box->addAction(QIcon(QStringLiteral(":/icons/reveal.svg")), QLineEdit::TrailingPosition);
    reveal->setObjectName(QStringLiteral("revealPassword"));
    reveal->setCheckable(true);
    reveal->setToolTip(QStringLiteral("显示输入的密码"));
    connect(reveal, &QAction::toggled, box, [box, reveal](bool shown) {
        box->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
        reveal->setToolTip(shown ? QStringLiteral("隐藏输入的密码")
                                 : QStringLiteral("显示输入的密码"));
    });
}

// Several workstations may share one archive on a server: the window says which store these
// settings belong to.
void SettingsWindow::showStoreInUse()
{
    const QString text = QStringLiteral("数据存放：%1").arg(m_settings->storeDescription());
    m_storeInUse = new QLabel(this);
    m_storeInUse->setObjectName(QStringLiteral("storeInUse"));
    m_storeInUse->setTextFormat(Qt::PlainText);
    m_storeInUse->setWordWrap(true);
    m_storeInUse->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_storeInUse->setText(text);
    m_storeInUse->setToolTip(text);
}

// The row beside the button holds two lines. A longer place (a deep folder, a large screen
// scaling) is shortened in its middle, where its start and its last folders stay readable,
// rather than cut at the row's top and bottom; the tooltip keeps it whole.
void SettingsWindow::fitStoreInUse()
{
    const QString caption = QStringLiteral("数据存放：");
    const QString where = m_settings->storeDescription();
    const QFontMetrics metrics(m_storeInUse->font());
    const auto fits = [this] {
        return m_storeInUse->heightForWidth(m_storeInUse->width()) <= m_storeInUse->height();
    };
    for (int room = metrics.horizontalAdvance(where); !fits() && room > 0;
         room -= metrics.averageCharWidth())
        m_storeInUse->setText(caption + metrics.elidedText(where, Qt::ElideMiddle, room));
}

// Which way a margin moves the print is not obvious from its name, and the clinic adjusts them
// by trial against its pre-printed paper.
void SettingsWindow::explainMargins(QWidget* printFrame)
{
    auto* hint = new CellTextLabel(
        QStringLiteral("加大左边距，打印内容右移；加大上边距，内容下移。"), printFrame);
    hint->setObjectName(QStringLiteral("marginHint"));
    const QString right = QStringLiteral("数值加大，%1向右移；减小则向左移。单位：毫米。");
    const QString down = QStringLiteral("数值加大，%1向下移；减小则向上移。单位：毫米。");
    m_boxes[ClinicSettings::LeftMargin]->setToolTip(right.arg(QStringLiteral("处方")));
    m_boxes[ClinicSettings::TopMargin]->setToolTip(down.arg(QStringLiteral("处方")));
    m_boxes[ClinicSettings::CardLeftMargin]->setToolTip(right.arg(QStringLiteral("注射卡")));
    m_boxes[ClinicSettings::CardTopMargin]->setToolTip(down.arg(QStringLiteral("注射卡")));
}

// The idle lock asks for the login password again; with none set it never locks.
void SettingsWindow::buildLockRow(QWidget* settingsFrame)
{
    auto* caption = new QLabel(QStringLiteral("锁定："), settingsFrame);
    caption->setObjectName(QStringLiteral("Label9"));
    m_idleLock = new QSpinBox(settingsFrame);
    m_idleLock->setObjectName(QStringLiteral("idleLock"));
    m_idleLock->setRange(0, IdleLockSetting::kLongest);
    m_idleLock->setSpecialValueText(QStringLiteral("不锁定"));
    m_idleLock->setSuffix(QStringLiteral("分钟"));
    m_idleLock->setValue(m_idleLockSetting.minutes());
    m_idleLock->setEnabled(m_idleLockSetting.isAvailable());
    m_idleLock->setToolTip(QStringLiteral("无人操作这么多分钟后，主窗口遮住处方并要求再次输入"
                                          "登录密码。只在设置了登录密码时锁定。"));
    m_clearPassword = new QCheckBox(QStringLiteral("清除密码"), settingsFrame);
    m_clearPassword->setObjectName(QStringLiteral("clearPassword"));
    m_clearPassword->setToolTip(
        QStringLiteral("勾选后按“确 定”，取消登录密码，启动时不再要求输入。"));
    connect(m_clearPassword, &QCheckBox::toggled, m_settings, &ClinicSettings::clearPassword);
}

void SettingsWindow::showValues()
{
    for (int i = 0; i < ClinicSettings::kFieldCount; ++i) {
        const QString& value = m_settings->value(ClinicSettings::Field(i));
        if (m_boxes[i]->text() != value)
            m_boxes[i]->setText(value);
    }
    showPasswordState();
}

// The box holds only a newly typed password; whether one is stored is told beside it.
void SettingsWindow::showPasswordState()
{
    QLineEdit* box = m_boxes[ClinicSettings::Password];
    const bool set = m_settings->hasPassword();
    box->setPlaceholderText(set ? QStringLiteral("已设置") : QStringLiteral("未设置"));
    box->setToolTip(set ? QStringLiteral("已设置登录密码（不显示）。输入新密码可替换它；"
                                         "要取消密码，勾选“清除密码”。")
                        : QStringLiteral("未设置登录密码。输入密码后按“确 定”即设置。"));
    box->setEnabled(!m_settings->isPasswordCleared());
    m_clearPassword->setEnabled(set);
    if (m_clearPassword->isChecked() != m_settings->isPasswordCleared())
        m_clearPassword->setChecked(m_settings->isPasswordCleared());
}

// Only a text that differs from the field is the user's: showValues() writes equal texts.
void SettingsWindow::boxChanged(ClinicSettings::Field which)
{
    const QString typed = m_boxes[which]->text();
    if (typed != m_settings->value(which))
        m_settings->edit(which, typed);
}

// Shown from the menu: a window whose values could not be read says so, rather than passing
// its placeholders off as the clinic's settings.
void SettingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    showFocusMark();
    const StoreStatus failed = m_settings->refreshAll();
    if (failed.ok())
        return;
    QMetaObject::invokeMethod(
        this,
        [this, message = failed.error()] {
            PlainMessage::warn(this, windowTitle(),
                               QStringLiteral("设置无法读取：%1\n框中显示的不是已保存的设置；"
                                              "在原因排除前按“确 定”不会保存它们。")
                                   .arg(message));
        },
        Qt::QueuedConnection);
}

QString SettingsWindow::text(ClinicSettings::Field which) const
{
    return m_boxes.at(which)->text();
}

// Each value another room changed too is the user's to decide; the save then runs again. It
// waits on an answer each round, so it never loops by itself.
bool SettingsWindow::settleConflicts(const QList<ClinicSettings::Conflict>& conflicts)
{
    for (const ClinicSettings::Conflict& conflict : conflicts) {
        QString what = kBoxes[conflict.field].caption.toString();
        what.chop(1);
        const ConflictQuestion::Answer answer = ConflictQuestion::ask(
            this, windowTitle(), QStringLiteral("“%1”").arg(what), conflict.theirs, conflict.mine);
        if (answer == ConflictQuestion::Answer::Cancel)
            return false;
        if (answer == ConflictQuestion::Answer::KeepMine)
            m_settings->keepMine(conflict.field);
        else
            m_settings->takeTheirs(conflict.field);
    }
    return true;
}

bool SettingsWindow::store()
{
    ClinicSettings::Saved saved = m_settings->save();
    while (!saved.conflicts.isEmpty()) {
        if (!settleConflicts(saved.conflicts))
            return false;
        saved = m_settings->save();
    }
    if (!saved.readable.ok()) {
        PlainMessage::warn(
            this, windowTitle(),
            QStringLiteral("设置无法读取，未作保存：%1").arg(saved.readable.error()));
        return false;
    }
    QStringList failures;
    if (!saved.settings.ok())
        failures << QStringLiteral("基本设置未能保存：%1").arg(saved.settings.error());
    if (!saved.password.ok())
        failures << QStringLiteral("密码未能保存：%1").arg(saved.password.error());
    if (m_idleLock->value() != m_idleLockSetting.minutes()) {
        const StoreStatus lock = m_idleLockSetting.setMinutes(m_idleLock->value());
        if (!lock.ok())
            failures << lock.error();
    }
    if (failures.isEmpty())
        return true;
    PlainMessage::warn(this, windowTitle(), failures.join(QLatin1Char('\n')));
    return false;
}

// "确 定" holds the focus from the start. Qt draws the focus mark only after the focus moved by
// the keyboard, and the window's activation, which follows the show, takes that back: the mark
// is set once the window is active.
void SettingsWindow::showFocusMark()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            setAttribute(Qt::WA_KeyboardFocusChange);
            update();
        },
        Qt::QueuedConnection);
}

void SettingsWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showFocusMark();
}

bool SettingsWindow::hasTypedChanges() const
{
    for (int i = 0; i < ClinicSettings::kFieldCount; ++i)
        if (m_settings->isEdited(ClinicSettings::Field(i)))
            return true;
    return false;
}

// Escape and the close box ask before typed changes are dropped, as the list windows do;
// Enter on "确 定" confirms, while Enter in a box stores nothing.
void SettingsWindow::keyPressEvent(QKeyEvent* event)
{
    if (controls::isEnterPress(event) && m_confirm->hasFocus()) {
        confirm();
        return;
    }
    if (event->matches(QKeySequence::Cancel) && hasTypedChanges() &&
        TypedEntry::userKeepsTyping(this))
        return;
    QDialog::keyPressEvent(event);
}

void SettingsWindow::closeEvent(QCloseEvent* event)
{
    if (TypedEntry::isUserClose(event, this) && hasTypedChanges() &&
        TypedEntry::userKeepsTyping(this)) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void SettingsWindow::confirm()
{
    if (store())
        close();
}

} // namespace quilloa
