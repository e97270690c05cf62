#include "core/entry/SheetFields.h"

#include "core/records/Money.h"
#include "core/records/PrescriptionRecord.h"
#include "core/rtf/RtfReader.h"

namespace quilloa {

using namespace sheet;

SheetFields SheetFields::fromRecord(const PrescriptionRecord& record)
{
    SheetFields sheet;
    sheet[NameField] = record.name;
    sheet[SexField] = record.sex;
    sheet[AgeField] = record.age;
    sheet[VisitDateField] = record.date;
    sheet[DiagnosisField] = record.diagnosis;
    sheet[AddressField] = record.address;
    sheet[DoctorField] = record.doctor;
    sheet[DispenserField] = record.dispenser;
    sheet[FeeField] = record.fee ? record.fee->toPlainString() : QString();
    sheet.body = RtfReader::read(record.body).plainText();
    return sheet;
}

void SheetFields::fillRecord(PrescriptionRecord& record) const
{
    const SheetFields& sheet = *this;
    record.name = sheet[NameField];
    record.sex = sheet[SexField];
    record.age = sheet[AgeField];
    record.date = sheet[VisitDateField];
    record.diagnosis = sheet[DiagnosisField];
    record.address = sheet[AddressField];
    record.doctor = sheet[DoctorField];
    record.dispenser = sheet[DispenserField];
    record.fee = Money::fromLeadingNumber(sheet[FeeField]).value_or(Money());
}

} // namespace quilloa
