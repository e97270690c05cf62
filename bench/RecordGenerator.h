#pragma once

#include "SyntheticClinic.h"

#include "core/records/PrescriptionRecord.h"

#include <QDate>
#include <QList>

#include <functional>

namespace quilloa::bench {

// Prescription records of a clinic over a span of days, in the order they were saved: busier on
// Mondays and in winter, quieter on Sundays, visits spread over the opening hours, returning
// patients, bodies of one to five drugs with their usage lines in the stored rich-text form.
class RecordGenerator
{
public:
    using Sink = std::function<bool(const PrescriptionRecord&)>;

    RecordGenerator(SyntheticClinic& clinic, QList<ListEntry> drugs, QList<ListEntry> diagnoses,
                    QList<SyntheticClinic::Patient> patients);

    // Hands `total` records from `first` to `last` to `sink`; stops early when it returns false.
    bool generate(int total, const QDate& first, const QDate& last, const Sink& sink);

    // How many of `total` visits fall on each day from `first` to `last`; they add up exactly.
    static QList<int> visitsPerDay(int total, const QDate& first, const QDate& last);

private:
    PrescriptionRecord visit(const QDate& day, int secondOfDay);
    QString body();

    SyntheticClinic& m_clinic;
    QList<ListEntry> m_drugs;
    QList<ListEntry> m_diagnoses;
    QList<SyntheticClinic::Patient> m_patients;
};

} // namespace quilloa::bench
