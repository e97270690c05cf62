#include "ui/maintenance/DrugWindow.h"

#include "core/maintenance/DrugEntryFields.h"
#include "core/maintenance/EntryCodeRules.h"
#include "core/store/SettingsStore.h"
#include "core/text/Pinyin.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/CodeComposition.h"
#include "ui/common/ConflictQuestion.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/Twips.h"
#include "ui/common/TwipsLayout.h"
#include "ui/maintenance/DrugWindowLayout.h"
#include "ui/maintenance/ReferenceExchange.h"
#include "ui/maintenance/ReferenceListView.h"
#include "ui/maintenance/WindowControls.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <array>

namespace quilloa {
namespace {

using namespace drugwindow;

const char* const kCaptionProperty = "keyCaption";

const QStringList& helpLines()
{
    static const QStringList lines{
        QStringLiteral("1、静脉药品仅填写名称，不需填写用法用量。"),
        QString(),
        QStringLiteral("如：药品名称：青霉素针 960万"),
        QString(),
        QStringLiteral("2、口服及其他药品填写格式："),
        QString(),
        QStringLiteral("如：药品名称：阿莫西林片 0.25×24"),
        QString(),
        QStringLiteral("     用法用量：0.5 tid"),
    };
    return lines;
}

// The nine lines must fit the label's height whatever the line spacing of the installed
// face, so the lines are drawn closer where the face is tall; blanks are kept as typed.
QString helpHtml(const QFontMetrics& metrics)
{
    const int available = twipsToPixels(drugwindow::kHelpHeight) / int(helpLines().size());
    const int percent = std::min(100, available * 100 / std::max(1, metrics.lineSpacing()));
    QString html;
    for (const QString& line : helpLines())
        html += QStringLiteral("<p style=\"margin:0; white-space:pre; line-height:%1%\">%2</p>")
                    .arg(percent)
                    .arg(line.isEmpty() ? QStringLiteral(" ") : line.toHtmlEscaped());
    return html;
}

} // namespace

DrugWindow::DrugWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("药品维护"));
    setFont(ChineseFaces::font(u"宋体", 9));
    buildControls();
    buildKeypad();
    m_exchange =
        new ReferenceExchange(m_context, ReferenceList::Drugs, this, [this] { refillQuietly(); });
    TwipsLayout::apply(this, kPlacements);
    TwipsLayout::apply(this, kExchangePlacements);
    setFocusOrder();
    TwipsLayout::fixAndCentre(this, kClientWidth, kClientHeight);
    PlainButtons::install(this);
    m_typed.emplace(QList<QLineEdit*>{m_nameBox, m_usageBox, m_codeBox});
    listAll();
    m_typed->markKept();
    m_addButton->setFocus();
}

void DrugWindow::buildControls()
{
    m_list = new ReferenceListView(this);
    connect(m_list, &ReferenceListView::lineSelected, this, &DrugWindow::selectEntry);
    buildEditFrame();

    m_help = controls::named<QLabel>("Label4", QString(), this);
    m_help->setTextFormat(Qt::RichText);
    m_help->setText(helpHtml(m_help->fontMetrics()));
    QPalette blue = m_help->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_help->setPalette(blue);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    controls::named<QLabel>("Label5_1", QStringLiteral("拼音查询："), this);
    m_searchBox = controls::named<QLineEdit>("Text1", this);
    connect(m_searchBox, &QLineEdit::textChanged, this, &DrugWindow::search);
    connect(CodeComposition::watch(m_searchBox), &CodeComposition::composing, this,
            &DrugWindow::search);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pu"));
    m_popup->addAction(QStringLiteral("删除"), this, &DrugWindow::remove);
    m_popup->addAction(QStringLiteral("取消"));
    connect(m_list, &ReferenceListView::popupWanted, m_popup,
            [this](const QPoint& at) { m_popup->popup(at); });
}

void DrugWindow::buildEditFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("添加药品"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    controls::named<QLabel>("Label1", QStringLiteral("药品名称："), frame);
    m_nameBox = controls::named<QLineEdit>("Text3", frame);
    controls::named<QLabel>("Label2", QStringLiteral("用法用量："), frame);
    m_usageBox = controls::named<QLineEdit>("Text4", frame);
    controls::named<QLabel>("Label3", QStringLiteral("拼音代码："), frame);
    m_codeBox = controls::named<QLineEdit>("Text5", frame);
    m_addButton = controls::named<QPushButton>("Command1", QStringLiteral("添  加"), frame);
    m_saveButton = controls::named<QPushButton>("Command2", QStringLiteral("保  存"), frame);
    m_deleteButton = controls::named<QPushButton>("Command3", QStringLiteral("删  除"), frame);

    for (QLineEdit* box : {m_nameBox, m_usageBox})
        box->installEventFilter(this);
    connect(m_nameBox, &QLineEdit::textChanged, m_codeBox,
            [this](const QString& name) { m_codeBox->setText(Pinyin::codeOfName(name)); });
    connect(m_addButton, &QPushButton::clicked, this, &DrugWindow::startAdding);
    connect(m_saveButton, &QPushButton::clicked, this, &DrugWindow::save);
    connect(m_deleteButton, &QPushButton::clicked, this, &DrugWindow::remove);
}

void DrugWindow::buildKeypad()
{
    m_keypad = new QFrame(this);
    m_keypad->setObjectName(QStringLiteral("Picture3"));
    m_keypad->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    for (const KeypadKey& shape : kKeys) {
        const QString caption = shape.caption.toString();
        auto* key = new QLabel(caption, m_keypad);
        key->setObjectName(QStringLiteral("Label5_%1").arg(shape.index));
        key->setProperty(kCaptionProperty, caption);
        key->setAutoFillBackground(true);
        key->setCursor(Qt::PointingHandCursor);
        // A face wider than the one the sizes were made for must not cut a caption short.
        QRect place = twipsRect(shape.left, kKeyTop, shape.width, kKeyHeight);
        place.setWidth(std::max(place.width(), key->fontMetrics().horizontalAdvance(caption)));
        place.setHeight(std::max(place.height(), key->fontMetrics().height()));
        key->setGeometry(place);
        key->installEventFilter(this);
    }
}

// Tab walks the edit frame as it stands, its boxes and then its buttons, then the search box
// and the list it narrows, then the list's exchange; the window opens on "添  加".
void DrugWindow::setFocusOrder()
{
    const std::array<QWidget*, 10> order{m_addButton,
                                         m_nameBox,
                                         m_usageBox,
                                         m_codeBox,
                                         m_saveButton,
                                         m_deleteButton,
                                         m_searchBox,
                                         m_list,
                                         m_exchange->importButton(),
                                         m_exchange->exportButton()};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void DrugWindow::listAll()
{
    const auto all = m_context.settings().all(ReferenceList::Drugs);
    if (!all.ok()) {
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("读取药品失败：%1").arg(all.error()));
        return;
    }
    showEntries(all);
    if (m_list->lineCount() > 0)
        m_list->selectLine(0);
}

void DrugWindow::search(const QString& text)
{
    const auto found = lookUp(text);
    showEntries(found);
    if (!found.ok())
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("查询药品失败：%1").arg(found.error()));
}

void DrugWindow::refillQuietly()
{
    showEntries(lookUp(m_searchBox->text()));
    emit drugsChanged();
}

StoreResult<QList<ReferenceEntry>> DrugWindow::lookUp(const QString& text) const
{
    return m_context.settings().lookup(ReferenceList::Drugs, text,
                                       SettingsStore::CodeMatch::Prefix);
}

void DrugWindow::showEntries(const StoreResult<QList<ReferenceEntry>>& found)
{
    m_list->showEntries(found.valueOr({}));
    m_selectedRowId.reset();
}

void DrugWindow::selectEntry(int line)
{
    const std::optional<ReferenceEntry> entry = m_list->entryAt(line);
    if (!entry)
        return;
    showEntry(*entry);
}

void DrugWindow::showEntry(const ReferenceEntry& entry)
{
    const DrugEntryFields fields = DrugEntryFields::fromStored(entry.name());
    m_nameBox->setText(fields.name());
    m_usageBox->setText(fields.usage());
    // After the name, so the stored code replaces the one built from the name.
    m_codeBox->setText(entry.code().value_or(QString()));
    m_selectedRowId = entry.rowId();
    m_readEntry = entry;
    m_typed->markKept();
}

// A drug another room changed since this window read it is not written over unasked: the user
// keeps theirs or takes the other room's, which the boxes then show. None when the user
// cancelled, leaving the boxes as typed.
std::optional<StoreStatus> DrugWindow::updateSelected(const QString& name, const QString& code)
{
    const auto described = [](const QString& storedName, const QString& storedCode) {
        return QStringLiteral("%1，拼音 %2").arg(storedName, storedCode);
    };
    SettingsStore store = m_context.settings();
    ReferenceEntry read = *m_readEntry;
    for (;;) {
        const auto written = store.updateIfUnchanged(ReferenceList::Drugs, read, name, code);
        if (!written.ok())
            return StoreStatus(written);
        if (!written.value())
            return StoreStatus::success();
        const ReferenceEntry theirs = *written.value();
        switch (ConflictQuestion::ask(
            this, windowTitle(),
            QStringLiteral("药品“%1”").arg(DrugEntryFields::fromStored(read.name()).name()),
            described(theirs.name(), theirs.code().value_or(QString())), described(name, code))) {
        case ConflictQuestion::Answer::KeepMine:
            read = theirs;
            continue;
        case ConflictQuestion::Answer::TakeTheirs:
            showEntry(theirs);
            return StoreStatus::success();
        case ConflictQuestion::Answer::Cancel:
            return std::nullopt;
        }
    }
}

void DrugWindow::startAdding()
{
    m_adding = true;
    m_searchBox->clear();
    // An empty search box refills nothing; the line shown before must not stay selected either.
    m_list->clearSelection();
    m_selectedRowId.reset();
    m_nameBox->clear();
    m_usageBox->clear();
    m_codeBox->clear();
    m_typed->markKept();
    m_nameBox->setFocus();
}

// A drug that cannot be stored is not passed over: the user is told, and the boxes and the
// adding state stay as they are for another try.
void DrugWindow::save()
{
    if (!m_adding && !m_selectedRowId) {
        askForSelection();
        return;
    }
    if (EntryCodeRules::isBlank(m_codeBox->text()))
        m_codeBox->setText(m_nameBox->text());
    const QString name = DrugEntryFields(m_nameBox->text(), m_usageBox->text()).stored();
    const QString code = EntryCodeRules::storedDrugCode(m_codeBox->text());
    const std::optional<StoreStatus> outcome =
        m_adding ? StoreStatus(m_context.settings().add(ReferenceList::Drugs, name, code))
                 : updateSelected(name, code);
    if (!outcome)
        return;
    const StoreStatus& saved = *outcome;
    if (!saved.ok()) {
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("药品未能保存：%1").arg(saved.error()));
        return;
    }
    refillQuietly();
    m_typed->markKept();
    m_addButton->setFocus();
    m_adding = false;
}

void DrugWindow::remove()
{
    if (!m_selectedRowId) {
        askForSelection();
        return;
    }
    // A drug the store kept is reported, and the list and boxes stay as they were. One already
    // gone is told as such, with the list refilled to what the store holds.
    const StoreStatus removed = m_context.settings().remove(ReferenceList::Drugs, *m_selectedRowId);
    const bool gone = !removed.ok() && removed.fault() == StoreFault::NoRow;
    if (!removed.ok() && !gone) {
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("药品未能删除：%1").arg(removed.error()));
        return;
    }
    refillQuietly();
    m_nameBox->clear();
    m_usageBox->clear();
    m_codeBox->clear();
    m_typed->markKept();
    if (gone)
        PlainMessage::inform(this, windowTitle(), controls::alreadyDeletedText());
}

void DrugWindow::typeKey(const QString& caption)
{
    if (!m_lastEditBox)
        return;
    m_lastEditBox->insert(caption);
    m_lastEditBox->setFocus();
}

// Escape closes the window only when that loses nothing typed, or the user says so.
void DrugWindow::keyPressEvent(QKeyEvent* event)
{
    if (m_typed->holdsBackEscape(event, this))
        return;
    QDialog::keyPressEvent(event);
}

// The close box asks the same question as Escape.
void DrugWindow::closeEvent(QCloseEvent* event)
{
    if (m_typed->holdsBackClose(event, this))
        return;
    QDialog::closeEvent(event);
}

void DrugWindow::askForSelection()
{
    PlainMessage::inform(this, windowTitle(), QStringLiteral("请先在列表中选择一种药品。"));
}

bool DrugWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_nameBox || watched == m_usageBox) {
        auto* box = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::FocusIn)
            m_lastEditBox = box;
        if (controls::isEnterPress(event)) {
            (box == m_nameBox ? static_cast<QWidget*>(m_usageBox) : m_saveButton)->setFocus();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // A key is clicked when the left button is let go over the key it went down on.
        auto* key = qobject_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (key && mouse->button() == Qt::LeftButton &&
            key->rect().contains(mouse->position().toPoint())) {
            typeKey(key->property(kCaptionProperty).toString());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quilloa
