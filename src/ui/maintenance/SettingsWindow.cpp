#include "ui/maintenance/SettingsWindow.h"

#include "ui/common/PlainMessage.h"
#include "ui/common/ScreenPlacement.h"
#include "ui/common/Twips.h"
#include "ui/maintenance/SettingsWindowLayout.h"
#include "ui/printing/DescribedTextLabel.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

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

// What the margin boxes hold until the stored values are read.
constexpr QStringView kDefaultLeftMargin = u"120";
constexpr QStringView kDefaultTopMargin = u"200";

} // namespace

SettingsWindow::SettingsWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("基本设置"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    setFixedSize(twipsToPixels(settingswindow::kClientWidth),
                 twipsToPixels(settingswindow::kClientHeight));
    buildControls();
    TwipsLayout::apply(this, settingswindow::kPlacements);
    loadSettings();
    loadPassword();
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
    m_boxes[PasswordBox]->setMaxLength(kPasswordLimit);
    m_boxes[LeftMarginBox]->setText(kDefaultLeftMargin.toString());
    m_boxes[CardLeftMarginBox]->setText(kDefaultLeftMargin.toString());
    m_boxes[TopMarginBox]->setText(kDefaultTopMargin.toString());
    m_boxes[CardTopMarginBox]->setText(kDefaultTopMargin.toString());
    m_confirm->setFocus();
}

// Which way a margin moves the print is not obvious from its name, and the clinic adjusts them
// by trial against its pre-printed paper.
void SettingsWindow::explainMargins(QWidget* printFrame)
{
    auto* hint = new DescribedTextLabel(
        QStringLiteral("加大左边距，打印内容右移；加大上边距，内容下移。"), printFrame);
    hint->setObjectName(QStringLiteral("marginHint"));
    const QString right = QStringLiteral("数值加大，%1向右移；减小则向左移。单位：毫米。");
    const QString down = QStringLiteral("数值加大，%1向下移；减小则向上移。单位：毫米。");
    m_boxes[LeftMarginBox]->setToolTip(right.arg(QStringLiteral("处方")));
    m_boxes[TopMarginBox]->setToolTip(down.arg(QStringLiteral("处方")));
    m_boxes[CardLeftMarginBox]->setToolTip(right.arg(QStringLiteral("注射卡")));
    m_boxes[CardTopMarginBox]->setToolTip(down.arg(QStringLiteral("注射卡")));
}

void SettingsWindow::fill(Box which, const QString& stored)
{
    QLineEdit* box = m_boxes.at(which);
    if (!box->isModified())
        box->setText(stored);
}

// Until the record is read the boxes hold no stored value; they are never written back as
// if they did (see store()).
StoreStatus SettingsWindow::loadSettings()
{
    const auto settings = m_context.settings().settings();
    if (!settings.ok())
        return settings;
    const SettingsRecord& r = settings.value();
    fill(ClinicNameBox, r.clinicName);
    fill(DoctorBox, r.doctor);
    fill(DispenserBox, r.dispenser);
    fill(LeftMarginBox, r.leftMargin);
    fill(TopMarginBox, r.topMargin);
    fill(CardLeftMarginBox, r.cardLeftMargin);
    fill(CardTopMarginBox, r.cardTopMargin);
    m_settingsLoaded = true;
    return settings;
}

StoreStatus SettingsWindow::loadPassword()
{
    const auto password = m_context.archive().loginPassword();
    if (!password.ok())
        return password;
    fill(PasswordBox, password.value());
    m_passwordLoaded = true;
    return password;
}

StoreStatus SettingsWindow::refresh()
{
    if (!m_passwordLoaded)
        loadPassword();
    return m_settingsLoaded ? StoreStatus::success() : loadSettings();
}

// Shown from the menu: a window whose values could not be read says so, rather than passing
// its placeholders off as the clinic's settings.
void SettingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const StoreStatus settings = refresh();
    if (settings.ok() && m_passwordLoaded)
        return;
    const StoreStatus failed = settings.ok() ? loadPassword() : settings;
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

QString SettingsWindow::text(Box which) const
{
    return m_boxes.at(which)->text();
}

bool SettingsWindow::store()
{
    // Values that were never read must not be written back over the stored ones: read them
    // first, and store nothing while that fails.
    const StoreStatus readable = refresh();
    if (!readable.ok()) {
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("设置无法读取，未作保存：%1").arg(readable.error()));
        return false;
    }
    SettingsRecord record;
    record.clinicName = text(ClinicNameBox);
    record.doctor = text(DoctorBox);
    record.dispenser = text(DispenserBox);
    record.leftMargin = text(LeftMarginBox);
    record.topMargin = text(TopMarginBox);
    record.cardLeftMargin = text(CardLeftMarginBox);
    record.cardTopMargin = text(CardTopMarginBox);
    const StoreStatus settings = m_context.settings().setSettings(record);
    // A password that could not be read is only written when the user typed a new one.
    const bool writePassword = m_passwordLoaded || box(PasswordBox)->isModified();
    const StoreStatus password = writePassword
                                     ? m_context.archive().setLoginPassword(text(PasswordBox))
                                     : StoreStatus::success();
    QStringList failures;
    if (!settings.ok())
        failures << QStringLiteral("基本设置未能保存：%1").arg(settings.error());
    if (!password.ok())
        failures << QStringLiteral("密码未能保存：%1").arg(password.error());
    if (failures.isEmpty())
        return true;
    PlainMessage::warn(this, windowTitle(), failures.join(QLatin1Char('\n')));
    return false;
}

void SettingsWindow::confirm()
{
    if (store())
        close();
}

} // namespace quilloa
