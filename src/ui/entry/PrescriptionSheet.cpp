#include "ui/entry/PrescriptionSheet.h"

#include "core/printing/SheetTitle.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/CodeComposition.h"
#include "ui/common/Twips.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/LookupList.h"
#include "ui/entry/SheetLineEdit.h"
#include "ui/printing/CellTextLabel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace quilloa {
namespace {

constexpr QStringView kMale = u"男";
constexpr QStringView kFemale = u"女";
constexpr QChar kFullWidthComma(0xFF0C);

QFont fontOf(QStringView face, double pointSize, bool bold, const QFont& fallback)
{
    QFont font = face.isEmpty() ? fallback : ChineseFaces::withFace(fallback, face);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// Removes leading and trailing ASCII blanks only, as the clinic name is stored and printed.
QString withoutBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace

PrescriptionSheet::PrescriptionSheet(const AppContext& context, EntryFocusMemory* focusMemory,
                                     QWidget* parent)
    : QWidget(parent), m_context(context), m_focusMemory(focusMemory)
{
    setObjectName(QStringLiteral("Picture2"));
    setFixedSize(twipsToPixels(sheet::kSheetSize.width), twipsToPixels(sheet::kSheetSize.height));
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    setPalette(paper);
    buildCaptions();
    buildFields();
    buildBody();
    buildLists();
    m_keyLabel = new QLabel(this);
    m_keyLabel->setObjectName(QStringLiteral("Label10"));
    m_keyLabel->setTextFormat(Qt::PlainText);
    m_keyLabel->setGeometry(pixels(sheet::kKeyLabelRect));
    m_keyLabel->hide();
}

void PrescriptionSheet::buildCaptions()
{
    for (std::size_t i = 0; i < sheet::kCaptions.size(); ++i) {
        const sheet::CaptionLayout& shape = sheet::kCaptions[i];
        auto* label = new CellTextLabel(shape.text.toString(), this);
        label->setObjectName(QStringLiteral("Label3_%1").arg(i));
        // The title carries the stored clinic name: text, never markup.
        label->setTextFormat(Qt::PlainText);
        label->setFont(fontOf(shape.face, shape.pointSize, shape.bold, font()));
        label->move(twipsToPixels(shape.left), twipsToPixels(shape.top));
        label->adjustSize();
        m_captions[i] = label;
    }
}

void PrescriptionSheet::buildFields()
{
    for (std::size_t i = 0; i < sheet::kFields.size(); ++i) {
        const sheet::FieldLayout& shape = sheet::kFields[i];
        auto* field = new SheetLineEdit(int(i), shape.maxLength, this);
        field->setGeometry(pixels(shape.rect));
        field->setFont(fontOf(shape.face, shape.pointSize, false, font()));
        field->setFrame(false);
        // Fields are written on the paper, not in boxes of their own.
        QPalette look = field->palette();
        look.setColor(QPalette::Base, Qt::transparent);
        field->setPalette(look);
        connect(field, &QLineEdit::textChanged, this, [this, i] { fieldChanged(int(i)); });
        connect(field, &SheetLineEdit::focused, this, &PrescriptionSheet::fieldFocused);
        connect(field, &SheetLineEdit::clicked, this, &PrescriptionSheet::fieldClicked);
        connect(field, &SheetLineEdit::downPressed, this, &PrescriptionSheet::downPressed);
        if (m_focusMemory)
            m_focusMemory->watchPlain(field);
        m_fields[i] = field;
    }
    watchComposition(sheet::DiagnosisField);
    watchComposition(sheet::AddressField);
}

// The diagnosis and address are found by their initials, typed with an input method or without.
void PrescriptionSheet::watchComposition(int index)
{
    auto* composition = CodeComposition::watch(m_fields.at(index));
    connect(composition, &CodeComposition::composing, this,
            [this, index](const QString& letters) { lookUpTyped(index, letters); });
    // A composition closed by the focus moving on must not leave its list open over the sheet.
    connect(composition, &CodeComposition::committedAway, this, [this, index] {
        LookupList* list = index == sheet::DiagnosisField ? m_diagnosisList : m_addressList;
        if (!list->hasFocus())
            list->hide();
    });
}

void PrescriptionSheet::buildBody()
{
    m_body = new QTextEdit(this);
    m_body->setObjectName(QStringLiteral("R1"));
    m_body->setGeometry(pixels(sheet::kBodyRect));
    m_body->setAcceptRichText(false);
    // Tab leaves the body for the next control; a prescription is indented with blanks.
    m_body->setTabChangesFocus(true);
    m_body->setFrameShape(QFrame::NoFrame);
    m_body->setFont(fontOf(sheet::kSongti, 10.5, false, font()));
    m_body->viewport()->installEventFilter(this);
}

void PrescriptionSheet::buildLists()
{
    m_diagnosisList = new LookupList(this);
    m_diagnosisList->setObjectName(QStringLiteral("list2"));
    m_diagnosisList->setGeometry(pixels(sheet::kDiagnosisListRect));
    m_diagnosisList->hide();
    connect(m_diagnosisList, &LookupList::picked, this,
            [this] { pick(sheet::DiagnosisField, m_diagnosisList); });

    m_addressList = new LookupList(this);
    m_addressList->setObjectName(QStringLiteral("list5"));
    m_addressList->setGeometry(pixels(sheet::kAddressListRect));
    m_addressList->hide();
    connect(m_addressList, &LookupList::picked, this,
            [this] { pick(sheet::AddressField, m_addressList); });
}

QString PrescriptionSheet::fieldText(int index) const
{
    return m_fields.at(index)->text();
}

void PrescriptionSheet::setFieldText(int index, const QString& text)
{
    m_fields.at(index)->setText(text);
}

void PrescriptionSheet::setRecordKey(const QString& key)
{
    m_keyLabel->setText(key);
}

void PrescriptionSheet::setTitle(const QString& clinicName)
{
    QLabel* title = titleLabel();
    title->setText(withoutBlanks(clinicName) + sheet::kTitleSuffix.toString());
    // A long clinic name is set smaller rather than cut off at the sheet's edge.
    const SheetTitle::Placement place = SheetTitle::onSheet(title->text());
    QFont face = title->font();
    face.setPointSizeF(place.pointSize);
    title->setFont(face);
    title->adjustSize();
    title->move(qRound(place.left / kTwipsPerPixel), twipsToPixels(sheet::kTitleTop));
}

PrescriptionPrintout::Sheet PrescriptionSheet::printedSheet() const
{
    PrescriptionPrintout::Sheet printed;
    static_cast<SheetFields&>(printed) = fields();
    for (std::size_t i = 0; i < m_captions.size(); ++i)
        printed.captions[i] = m_captions[i]->text();
    printed.bodyRows = shownBodyRows();
    return printed;
}

// The body's rows as the text box wraps them on screen, so that a long usage line breaks on
// paper where the doctor saw it break; empty when the box has not laid its text out.
QList<BodyRow> PrescriptionSheet::shownBodyRows() const
{
    QList<BodyRow> rows;
    for (QTextBlock block = m_body->document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            return {};
        const QString text = block.text();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            rows.append({text.mid(line.textStart(), line.textLength()), i > 0});
        }
    }
    return rows;
}

SheetFields PrescriptionSheet::fields() const
{
    SheetFields shown;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        shown.fields[i] = m_fields[i]->text();
    shown.body = m_body->toPlainText();
    return shown;
}

void PrescriptionSheet::setFields(const SheetFields& fields)
{
    // A field too narrow for its text shows its start ("11个月", not "月").
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        setFieldText(int(i), fields.fields[i]);
        m_fields[i]->setCursorPosition(0);
    }
}

void PrescriptionSheet::showStoredFields(const SheetFields& fields)
{
    m_fillingStored = true;
    setFields(fields);
    m_fillingStored = false;
    // A hidden list holds nothing for texts no longer in its field.
    m_diagnosisList->clear();
    m_addressList->clear();
    hideLookupLists();
}

void PrescriptionSheet::hideLookupLists()
{
    m_diagnosisList->hide();
    m_addressList->hide();
}

QString PrescriptionSheet::patientLine() const
{
    return fieldText(sheet::NameField) + kFullWidthComma + fieldText(sheet::SexField) +
           kFullWidthComma + fieldText(sheet::AgeField);
}

// Several steps may apply to one index; they run in this order.
void PrescriptionSheet::fieldChanged(int index)
{
    SheetLineEdit* changed = m_fields.at(index);
    if (index == sheet::SexField) {
        if (changed->text() == u"1")
            changed->setText(kMale.toString());
        if (changed->text() == u"2")
            changed->setText(kFemale.toString());
        changed->end(false);
    }
    if (index < sheet::VisitDateField)
        emit patientLineChanged(patientLine());
    if (index == sheet::VisitDateField)
        emit visitDateChanged(changed->text());
    lookUpTyped(index, changed->text());
}

void PrescriptionSheet::lookUpTyped(int index, const QString& text)
{
    if (m_fillingStored)
        return;
    if (index == sheet::DiagnosisField)
        refillLookup(m_diagnosisList, ReferenceList::Diagnoses, text,
                     SettingsStore::CodeMatch::Prefix);
    // While typing, an address is found by any part of its code.
    if (index == sheet::AddressField)
        refillLookup(m_addressList, ReferenceList::Addresses, text,
                     SettingsStore::CodeMatch::Contains);
}

void PrescriptionSheet::fieldFocused(int index)
{
    const QString text = fieldText(index);
    if (index == sheet::DiagnosisField) {
        m_addressList->hide();
        refillLookup(m_diagnosisList, ReferenceList::Diagnoses, text,
                     SettingsStore::CodeMatch::Prefix);
    } else if (index == sheet::AddressField) {
        m_diagnosisList->hide();
        // On entering the field an address is found by the start of its code only.
        refillLookup(m_addressList, ReferenceList::Addresses, text,
                     SettingsStore::CodeMatch::Prefix);
    } else {
        hideLookupLists();
    }
}

void PrescriptionSheet::fieldClicked(int index)
{
    if (index != sheet::SexField)
        return;
    SheetLineEdit* sex = m_fields.at(index);
    sex->setText(sex->text() == kMale ? kFemale.toString() : kMale.toString());
    sex->end(false);
}

void PrescriptionSheet::downPressed(int index)
{
    LookupList* list = nullptr;
    if (index == sheet::DiagnosisField)
        list = m_diagnosisList;
    else if (index == sheet::AddressField)
        list = m_addressList;
    if (!list || !list->isVisible())
        return;
    list->setFocus(Qt::OtherFocusReason);
    if (!list->hasSelection() && list->count() > 0)
        list->setCurrentRow(0);
}

void PrescriptionSheet::pick(int index, LookupList* list)
{
    SheetLineEdit* target = m_fields.at(index);
    if (list->hasSelection())
        setFieldText(index, list->selectedText());
    target->end(false);
    target->setFocus(Qt::OtherFocusReason);
    list->hide();
}

void PrescriptionSheet::refillLookup(LookupList* list, ReferenceList which, const QString& code,
                                     SettingsStore::CodeMatch match)
{
    list->clear();
    list->hide();
    auto found = m_context.settings().names(which, code, match);
    if (!found.ok())
        return; // a lookup that fails leaves its list empty and hidden; typing goes on
    list->setNames(found.takeValue());
    if (list->count() > 0) {
        list->raise();
        list->show();
    }
}

void PrescriptionSheet::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    for (const sheet::TwipLine& line : sheet::kLines)
        painter.drawLine(twipsToPixels(line.from.x), twipsToPixels(line.from.y),
                         twipsToPixels(line.to.x), twipsToPixels(line.to.y));
    // A faint rule under each field shows where to write; it is not printed.
    painter.setPen(QPen(QColor(200, 200, 200), 1, Qt::DotLine));
    for (const SheetLineEdit* field : m_fields) {
        const QRect r = field->geometry();
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    }
}

void PrescriptionSheet::mousePressEvent(QMouseEvent* event)
{
    hideLookupLists();
    QWidget::mousePressEvent(event);
}

bool PrescriptionSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_body->viewport() && event->type() == QEvent::MouseButtonPress)
        hideLookupLists();
    return QWidget::eventFilter(watched, event);
}

} // namespace quilloa
