#include "ui/maintenance/ReferenceWindow.h"

#include "core/maintenance/EntryCodeRules.h"
#include "core/store/SettingsStore.h"
#include "core/text/Pinyin.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/CodeComposition.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/TwipsLayout.h"
#include "ui/maintenance/ReferenceExchange.h"
#include "ui/maintenance/ReferenceListView.h"
#include "ui/maintenance/ReferenceWindowLayout.h"
#include "ui/maintenance/WindowControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <array>

namespace quilloa {

using namespace referencewindow;

ReferenceWindow::ReferenceWindow(const AppContext& context, ReferenceList list, QWidget* parent)
    : QDialog(parent), m_context(context), m_list(list)
{
    setObjectName(isDiagnoses() ? QStringLiteral("Form3") : QStringLiteral("Form4"));
    setWindowTitle(isDiagnoses() ? QStringLiteral("诊断名称维护") : QStringLiteral("地址名称维护"));
    setFont(ChineseFaces::font(u"宋体", 9));
    buildControls();
    setFocusOrder();
    TwipsLayout::apply(this, kExchangePlacements);
    if (isDiagnoses()) {
        TwipsLayout::apply(this, kDiagnosisPlacements);
        TwipsLayout::fixAndCentre(this, kDiagnosisWidth, kDiagnosisHeight);
    } else {
        TwipsLayout::apply(this, kAddressPlacements);
        TwipsLayout::fixAndCentre(this, kAddressWidth, kAddressHeight);
    }
    PlainButtons::install(this);
    m_typed.emplace(QList<QLineEdit*>{m_nameBox, m_codeBox});
    listAll();
    (isDiagnoses() ? static_cast<QWidget*>(m_searchBox) : m_addButton)->setFocus();
}

void ReferenceWindow::buildControls()
{
    controls::named<QLabel>("Label5_1", QStringLiteral("拼音查询："), this);
    m_searchBox = controls::named<QLineEdit>("Text1", this);
    m_lines = new ReferenceListView(this);
    controls::named<QLabel>(
        "Label1_0", isDiagnoses() ? QStringLiteral("诊断名称：") : QStringLiteral("地址名称："),
        this);
    m_nameBox = controls::named<QLineEdit>("Text3", this);
    controls::named<QLabel>("Label1_1", QStringLiteral("拼音代码："), this);
    m_codeBox = controls::named<QLineEdit>("Text5", this);
    m_addButton = controls::named<QPushButton>("Command2", QStringLiteral("添  加"), this);
    m_quitButton = controls::named<QPushButton>("Command1", QStringLiteral("退  出"), this);

    // After an import the list shows what the search box asks for, new entries included.
    m_exchange = new ReferenceExchange(m_context, m_list, this, [this] {
        if (m_searchBox->text().isEmpty())
            listAll();
        else
            search(m_searchBox->text());
    });

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pu"));
    m_popup->addAction(QStringLiteral("删除"), this, &ReferenceWindow::remove);
    m_popup->addAction(QStringLiteral("取消"));

    m_nameBox->installEventFilter(this);
    connect(m_searchBox, &QLineEdit::textChanged, this, &ReferenceWindow::search);
    connect(CodeComposition::watch(m_searchBox), &CodeComposition::composing, this,
            &ReferenceWindow::search);
    connect(m_nameBox, &QLineEdit::textChanged, m_codeBox,
            [this](const QString& name) { m_codeBox->setText(Pinyin::codeOfName(name)); });
    connect(m_addButton, &QPushButton::clicked, this, &ReferenceWindow::add);
    connect(m_quitButton, &QPushButton::clicked, this, &ReferenceWindow::quit);
    connect(m_lines, &ReferenceListView::popupWanted, m_popup,
            [this](const QPoint& at) { m_popup->popup(at); });
}

// Tab walks the window as it stands: the search box and the list it narrows, the name and code
// boxes, their buttons, then the list's exchange. The two windows differ only in where they open.
void ReferenceWindow::setFocusOrder()
{
    const std::array<QWidget*, 8> order{m_searchBox,
                                        m_lines,
                                        m_nameBox,
                                        m_codeBox,
                                        m_addButton,
                                        m_quitButton,
                                        m_exchange->importButton(),
                                        m_exchange->exportButton()};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ReferenceWindow::listAll()
{
    const auto all = m_context.settings().all(m_list);
    if (!all.ok()) {
        report(QStringLiteral("读取"), all.error());
        return;
    }
    m_lines->showEntries(all.value());
}

void ReferenceWindow::search(const QString& text)
{
    const auto found = m_context.settings().lookup(m_list, text, SettingsStore::CodeMatch::Prefix);
    if (!found.ok()) {
        m_lines->showEntries({});
        report(QStringLiteral("查询"), found.error());
        return;
    }
    m_lines->showEntries(found.value());
}

// The new entry is appended and selected whatever the search box holds; the typed texts stay
// in the boxes when the store refuses it.
void ReferenceWindow::add()
{
    const QString name = m_nameBox->text();
    const QString code = EntryCodeRules::listCode(m_codeBox->text(), name);
    m_codeBox->setText(code);
    const auto added = m_context.settings().add(m_list, name, code);
    if (!added.ok()) {
        report(QStringLiteral("添加"), added.error());
        return;
    }
    m_lines->appendEntry(ReferenceEntry{added.value(), name, code});
    m_nameBox->clear();
    m_codeBox->clear();
    m_typed->markKept();
    m_nameBox->setFocus();
}

void ReferenceWindow::remove()
{
    const std::optional<ReferenceEntry> selected = m_lines->selectedEntry();
    if (!selected) {
        PlainMessage::inform(this, windowTitle(), QStringLiteral("请先在列表中选择一项。"));
        return;
    }
    // An entry already gone is told as such, with the list refilled to what the store holds.
    const StoreStatus removed = m_context.settings().remove(m_list, selected->rowId());
    const bool gone = !removed.ok() && removed.fault() == StoreFault::NoRow;
    if (!removed.ok() && !gone) {
        report(QStringLiteral("删除"), removed.error());
        return;
    }
    search(m_searchBox->text());
    if (gone)
        PlainMessage::inform(this, windowTitle(), controls::alreadyDeletedText());
}

void ReferenceWindow::report(const QString& what, const QString& error)
{
    PlainMessage::warn(this, windowTitle(), QStringLiteral("%1失败：%2").arg(what, error));
}

// Escape closes the window only when that loses nothing typed, or the user says so.
void ReferenceWindow::keyPressEvent(QKeyEvent* event)
{
    if (m_typed->holdsBackEscape(event, this))
        return;
    QDialog::keyPressEvent(event);
}

// The close box and "退  出" ask the same question as Escape.
void ReferenceWindow::closeEvent(QCloseEvent* event)
{
    if (m_typed->holdsBackClose(event, this))
        return;
    QDialog::closeEvent(event);
}

void ReferenceWindow::quit()
{
    if (m_typed->hasUnkeptText() && TypedEntry::userKeepsTyping(this))
        return;
    close();
}

bool ReferenceWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_nameBox && controls::isEnterPress(event)) {
        add();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quilloa
