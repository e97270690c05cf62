#pragma once

#include "core/entry/SheetGeometry.h"

#include <QString>

#include <array>

namespace quilloa {

struct PrescriptionRecord;

// What the doctor filled in on a prescription sheet: the nine fields by their sheet index and
// the body's plain text. Saving, showing, copying and printing a sheet all go through this one
// value, so the fields are matched to the record's columns in exactly one place.
struct SheetFields
{
    std::array<QString, sheet::kFields.size()> fields; // indexed by sheet::FieldIndex
    QString body;                                      // plain text, lines joined by CR LF

    QString& operator[](sheet::FieldIndex index) { return fields[std::size_t(index)]; }
    const QString& operator[](sheet::FieldIndex index) const { return fields[std::size_t(index)]; }

    // The fields and body of a stored prescription; the fee as the money it holds.
    static SheetFields fromRecord(const PrescriptionRecord& record);
    // Writes the nine fields into the record's columns. A fee that does not begin with a number
    // counts as nothing taken. The key and the body's stored form are the caller's, since they
    // depend on the sheet's state and its body font.
    void fillRecord(PrescriptionRecord& record) const;
};

} // namespace quilloa
