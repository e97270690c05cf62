#pragma once

#include <QDate>
#include <QString>

namespace quilloa {

// Names print jobs so that a doctor can tell them apart in the printer's queue.
class PrintJobName
{
public:
    // kind, the patient and the date, each trimmed and separated by one space, the empty ones
    // left out; an empty date becomes today's as yyyy-mm-dd. Line breaks and other control
    // characters become spaces: a job name is one line.
    static QString compose(const QString& kind, const QString& patient, const QString& date,
                           QDate today);
};

} // namespace quilloa
