#include "ui/entry/EntryOrder.h"

#include "core/entry/SheetGeometry.h"
#include "ui/entry/ArchivePanel.h"
#include "ui/entry/DrugPanel.h"
#include "ui/entry/InjectionCard.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/entry/SheetLineEdit.h"

#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

#include <utility>

namespace quilloa {

void EntryOrder::apply(PrescriptionSheet* sheet, InjectionCard* card, DrugPanel* drugs,
                       ArchivePanel* archive)
{
    QList<QWidget*> tabOrder;
    for (int i = 0; i < int(sheet::kFields.size()); ++i)
        tabOrder << sheet->field(i);
    tabOrder << sheet->body() << card->body() << drugs->searchBox() << drugs->drugList()
             << archive->nameBox() << archive->dateBox() << archive->searchButton()
             << archive->archiveList();
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    const std::pair<int, QWidget*> enterLeadsTo[] = {
        {sheet::NameField, sheet->field(sheet::SexField)},
        {sheet::SexField, sheet->field(sheet::AgeField)},
        {sheet::AgeField, sheet->field(sheet::DiagnosisField)},
        {sheet::DiagnosisField, sheet->field(sheet::AddressField)},
        {sheet::AddressField, drugs->searchBox()},
        {sheet::VisitDateField, sheet->field(sheet::DoctorField)},
        {sheet::DoctorField, sheet->field(sheet::DispenserField)},
        {sheet::DispenserField, sheet->body()},
        {sheet::FeeField, card->body()},
    };
    for (const auto& [field, next] : enterLeadsTo)
        sheet->field(field)->setEnterTarget(next);
}

} // namespace quilloa
