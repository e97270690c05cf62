#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/rtf/RtfWriter.h"

namespace quilloa::bench {

// The record every save row stores: a full sheet of an ordinary visit.
inline PrescriptionRecord typicalVisit()
{
    PrescriptionRecord r;
    r.key = QStringLiteral("2019-12-31 18:30:00");
    r.name = QStringLiteral("张秀英");
    r.sex = QStringLiteral("女");
    r.age = QStringLiteral("46");
    r.date = QStringLiteral("2019-12-31");
    r.diagnosis = QStringLiteral("急性上呼吸道感染");
    r.address = QStringLiteral("青石镇东山村三组");
    r.body = RtfWriter::write(QStringLiteral("阿莫西林胶囊 0.25×24\n    用法：0.5 tid\n"
                                             "复方甘草片 100片\n    用法：3片 tid"),
                              QStringLiteral("宋体"), 10.5);
    r.doctor = QStringLiteral("王医生");
    r.dispenser = QStringLiteral("刘芳");
    r.fee = Money::fromUnits(355000);
    return r;
}

} // namespace quilloa::bench
