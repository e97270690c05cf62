#pragma once

#include "core/records/PrescriptionRecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <random>

namespace quilloa::bench {

// One entry of a reference list as the maintenance windows would store it.
struct ListEntry
{
    QString name;
    QString code;
};

// Reference lists and patients of a plausible rural clinic, the same on every run for a seed:
// drug names built from common drug-name parts with a strength and a usage, diagnoses,
// village addresses, and a pool of returning patients.
class SyntheticClinic
{
public:
    struct Patient
    {
        QString name;
        QString sex;
        int birthYear = 1970;
        QString address;
    };

    explicit SyntheticClinic(quint64 seed);

    QList<ListEntry> drugs(int count);
    QList<ListEntry> diagnoses(int count);
    QList<ListEntry> addresses(int count);
    // With `dominantSurname`, half the patients bear it: a village where one family name
    // dominates.
    QList<Patient> patients(int count, const QList<ListEntry>& addresses,
                            const QString& dominantSurname = QString());

    std::mt19937_64& random() { return m_random; }
    int below(int bound); // uniform in [0, bound)
    // Skewed towards the start of [0, bound): a few common entries are picked far more often,
    // the more so the larger `power` is.
    int skewedBelow(int bound, double power = 2.0);

private:
    QString patientName();
    QList<int> shuffledIndexes(int size);

    std::mt19937_64 m_random;
};

} // namespace quilloa::bench
