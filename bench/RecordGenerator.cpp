#include "RecordGenerator.h"

#include "core/records/Money.h"
#include "core/rtf/RtfWriter.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quilloa::bench {
namespace {

constexpr int kOpeningSecond = 8 * 3600;
constexpr int kOpenSeconds = 10 * 3600;
constexpr double kBodyPointSize = 10.5;

double dayWeight(const QDate& day)
{
    static constexpr double kWeekday[] = {1.25, 1.0, 1.0, 1.0, 1.0, 0.8, 0.6}; // Monday first
    const double season =
        1.0 + 0.2 * std::cos(2.0 * std::numbers::pi * (day.dayOfYear() - 15) / 365.0);
    return kWeekday[day.dayOfWeek() - 1] * season;
}

const QStringList& doctors()
{
    static const QStringList names = {QStringLiteral("王医生"), QStringLiteral("李建国"),
                                      QStringLiteral("赵丽")};
    return names;
}

const QStringList& dispensers()
{
    static const QStringList names = {QStringLiteral("刘芳"), QStringLiteral("陈静"), QString()};
    return names;
}

} // namespace

RecordGenerator::RecordGenerator(SyntheticClinic& clinic, QList<ListEntry> drugs,
                                 QList<ListEntry> diagnoses,
                                 QList<SyntheticClinic::Patient> patients)
    : m_clinic(clinic), m_drugs(std::move(drugs)), m_diagnoses(std::move(diagnoses)),
      m_patients(std::move(patients))
{
}

QList<int> RecordGenerator::visitsPerDay(int total, const QDate& first, const QDate& last)
{
    QList<double> cumulative;
    double sum = 0;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        sum += dayWeight(day);
        cumulative.append(sum);
    }
    QList<int> counts;
    qint64 before = 0;
    for (const double upTo : cumulative) {
        const auto reached = qint64(std::floor(double(total) * upTo / sum + 0.5));
        counts.append(int(reached - before));
        before = reached;
    }
    return counts;
}

bool RecordGenerator::generate(int total, const QDate& first, const QDate& last, const Sink& sink)
{
    const QList<int> counts = visitsPerDay(total, first, last);
    QDate day = first;
    QList<int> seconds;
    for (const int count : counts) {
        seconds.resize(count);
        for (int& second : seconds)
            second = kOpeningSecond + m_clinic.below(kOpenSeconds);
        std::sort(seconds.begin(), seconds.end());
        for (const int second : seconds) {
            if (!sink(visit(day, second)))
                return false;
        }
        day = day.addDays(1);
    }
    return true;
}

PrescriptionRecord RecordGenerator::visit(const QDate& day, int secondOfDay)
{
    const SyntheticClinic::Patient& patient = m_patients.at(m_clinic.below(int(m_patients.size())));
    PrescriptionRecord r;
    r.key = QDateTime(day, QTime(0, 0).addSecs(secondOfDay))
                .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    r.name = patient.name;
    r.sex = patient.sex;
    r.age = QString::number(std::max(1, day.year() - patient.birthYear));
    r.date = day.toString(QStringLiteral("yyyy-MM-dd"));
    r.diagnosis = m_diagnoses.at(m_clinic.skewedBelow(int(m_diagnoses.size()))).name;
    r.address = patient.address;
    r.body = body();
    r.doctor = doctors().at(m_clinic.skewedBelow(int(doctors().size())));
    r.dispenser = dispensers().at(m_clinic.below(int(dispensers().size())));
    // Whole or half yuan from 3 to 300.
    r.fee = Money::fromUnits(qint64(3 + m_clinic.skewedBelow(298)) * Money::kScale +
                             (m_clinic.below(2) == 0 ? 0 : Money::kScale / 2));
    return r;
}

// Each drug as the picker adds it: its name and strength, then its usage line.
QString RecordGenerator::body()
{
    QStringList lines;
    const int drugCount = 1 + m_clinic.below(5);
    for (int i = 0; i < drugCount; ++i) {
        const QString& entry = m_drugs.at(m_clinic.skewedBelow(int(m_drugs.size()))).name;
        const qsizetype slash = entry.indexOf(QLatin1Char('/'));
        lines.append(entry.left(slash));
        lines.append(QStringLiteral("    用法：") + (slash < 0 ? QString() : entry.mid(slash + 1)));
    }
    return RtfWriter::write(lines.join(QLatin1Char('\n')), QStringLiteral("宋体"), kBodyPointSize);
}

} // namespace quilloa::bench
