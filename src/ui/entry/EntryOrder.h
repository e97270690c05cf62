#pragma once

namespace quilloa {

class ArchivePanel;
class DrugPanel;
class InjectionCard;
class PrescriptionSheet;

// The main window's two orders of its entry controls. Tab walks the sheet as it is printed,
// fields 0 to 8 and then the body, on to the card and then the panels on the left, so every
// control is reached in the order it stands. Enter in a field follows the way a sheet is filled
// in: name, sex, age, diagnosis, address and on to the drug search box; then date, doctor,
// dispenser and the body.
class EntryOrder
{
public:
    static void apply(PrescriptionSheet* sheet, InjectionCard* card, DrugPanel* drugs,
                      ArchivePanel* archive);
};

} // namespace quilloa
