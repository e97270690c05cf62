#pragma once

#include "core/entry/SheetFields.h"
#include "core/entry/SheetGeometry.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/records/ReferenceEntry.h"
#include "core/startup/AppContext.h"
#include "core/store/SettingsStore.h"

#include <QWidget>

#include <array>

class QLabel;
class QTextEdit;

namespace quilloa {

class EntryFocusMemory;
class LookupList;
class SheetLineEdit;

// The prescription sheet (Picture2): a white paper with its captions and rules, the nine fields
// Text4_0 .. Text4_8, the diagnosis and address lookup lists, the body R1 and the hidden record
// key label. Everything stands where entry/SheetGeometry.h puts it. The sheet handles what the
// doctor does in its fields; the main window decides when it is shown, cleared and saved.
class PrescriptionSheet : public QWidget
{
    Q_OBJECT
public:
    PrescriptionSheet(const AppContext& context, EntryFocusMemory* focusMemory,
                      QWidget* parent = nullptr);

    SheetLineEdit* field(int index) const { return m_fields.at(index); }
    QString fieldText(int index) const;
    // Puts text in as the program does: taken whole, and the field's change behaviour runs.
    void setFieldText(int index, const QString& text);

    QTextEdit* body() const { return m_body; }
    LookupList* diagnosisList() const { return m_diagnosisList; }
    LookupList* addressList() const { return m_addressList; }
    QLabel* caption(int index) const { return m_captions.at(index); }
    QLabel* titleLabel() const { return m_captions.at(sheet::TitleCaption); }

    // Writes the record key into Label10, never shown. The key itself is the sheet's life's
    // (SheetLife::recordKey()); nothing reads it back from the label.
    void setRecordKey(const QString& key);

    // Title = clinic name without surrounding spaces + "处方笺", centred on the sheet.
    void setTitle(const QString& clinicName);

    void hideLookupLists();

    // What stands on the sheet now, for the printout.
    PrescriptionPrintout::Sheet printedSheet() const;
    QList<BodyRow> shownBodyRows() const;
    // The nine fields and the body's plain text as they stand.
    SheetFields fields() const;
    // Fills the nine fields; the body is left to the caller, which knows its stored form.
    void setFields(const SheetFields& fields);
    // Fills the nine fields from a stored record or a copied sheet, which leaves both lookup
    // lists hidden: there is nothing to pick for names already whole.
    void showStoredFields(const SheetFields& fields);

signals:
    // name，sex，age, whenever one of the three fields changes.
    void patientLineChanged(const QString& line);
    void visitDateChanged(const QString& date);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCaptions();
    void buildFields();
    void buildLists();
    void buildBody();

    void watchComposition(int index);
    void fieldChanged(int index);
    // Refills the field's lookup list, if it has one, for `text` typed or being composed.
    void lookUpTyped(int index, const QString& text);
    void fieldFocused(int index);
    void fieldClicked(int index);
    void downPressed(int index);
    void pick(int index, LookupList* list);

    void refillLookup(LookupList* list, ReferenceList which, const QString& code,
                      SettingsStore::CodeMatch match);
    QString patientLine() const;

    AppContext m_context;
    EntryFocusMemory* m_focusMemory = nullptr;
    std::array<QLabel*, sheet::kCaptions.size()> m_captions{};
    std::array<SheetLineEdit*, sheet::kFields.size()> m_fields{};
    LookupList* m_diagnosisList = nullptr;
    LookupList* m_addressList = nullptr;
    QTextEdit* m_body = nullptr;
    QLabel* m_keyLabel = nullptr;
    // While a stored record fills the sheet, its texts are not looked up: the lists end hidden
    // and are refilled before they are next shown.
    bool m_fillingStored = false;
};

} // namespace quilloa
