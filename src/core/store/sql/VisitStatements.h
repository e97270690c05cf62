#pragma once

#include "core/records/VisitDates.h"
#include "core/store/StoreConnection.h"

#include <QString>
#include <QVariant>

namespace quilloa {

// The archive statements that read the visits of a period, each with one placeholder for
// value(). Both forms of the date condition can use an index on the date.
class VisitStatements
{
public:
    // The fee of every visit.
    static QString fees(const StoreConnection& file, const VisitDates& dates);
    // The date and fee of every visit.
    static QString datedFees(const StoreConnection& file, const VisitDates& dates);
    // What the clinic log lists of every visit, in the order the prescriptions were started.
    static QString visits(const StoreConnection& file, const VisitDates& dates);
    static QVariant value(const VisitDates& dates);

private:
    static QString condition(const StoreConnection& file, const VisitDates& dates);
};

} // namespace quilloa
