#include "core/printing/ClinicLogPrintout.h"

#include "core/printing/PageDevice.h"
#include "core/printing/PrintJobName.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quilloa {

namespace {

const QString kFace = QStringLiteral("宋体");
constexpr double kTitlePointSize = 22;
constexpr double kTextPointSize = 12;

constexpr double kRuleLeft = 0;
constexpr double kRuleRight = 240;
constexpr double kRuleTop = 30;
constexpr double kRuleBottom = 177;
constexpr int kHorizontalRules = 22;
constexpr std::array<double, 8> kVerticalRules{0, 25, 35, 47, 100, 170, 207, 240};

// How far the register reaches from the printable corner, its margins included: the rules end
// 240 mm right of the 20 mm margin, and the foot's line ends about 193 mm down.
constexpr double kExtentWidth = 260;
constexpr double kExtentHeight = 193;

constexpr double kHeadingTop = 32;
constexpr double kFootTop = 178;
constexpr double kPageNumberLeft = 215;

struct Heading
{
    double left;
    const char16_t* text;
};

constexpr std::array<Heading, 7> kHeadings{{
    {2, u"姓    名"},
    {26, u"性别"},
    {36, u"年龄"},
    {55, u"诊            断"},
    {117, u"地            址"},
    {179, u"就诊时间"},
    {214, u"备    注"},
}};

// Lefts of grid columns 0 to 5: name, sex, age, diagnosis, address, time of visit.
constexpr std::array<double, ClinicLogPrintout::kPrintedColumns> kCellLefts{2,  28,  36,
                                                                            48, 101, 171};

} // namespace

ClinicLogPrintout::ClinicLogPrintout(QList<QStringList> gridRows, QString doctor)
    : m_gridRows(std::move(gridRows)), m_doctor(std::move(doctor))
{
}

int ClinicLogPrintout::pageCount(qsizetype gridRowCount)
{
    // Truncating division, so that a grid without visit rows still gives one page.
    return static_cast<int>((gridRowCount - 2) / kRowsPerPage + 1);
}

bool ClinicLogPrintout::print(PageDevice& device) const
{
    device.setUnit(PageUnit::Millimetres);
    device.setOrigin(-20, -10);
    device.setOrientation(PageOrientation::Landscape);
    device.setScale(fitScale(device.printableMillimetres()));
    if (!device.begin()) {
        return false;
    }
    const int pages = pageCount(m_gridRows.size());
    int page = 1;
    printPageFurniture(device, page, pages);
    int rowsOnPage = 0;
    for (qsizetype row = 1; row < m_gridRows.size(); ++row) {
        if (++rowsOnPage > kRowsPerPage) {
            rowsOnPage = 1;
            device.newPage();
            printPageFurniture(device, ++page, pages);
        }
        printVisit(device, m_gridRows[row], rowTop(rowsOnPage));
    }
    return device.end();
}

// The register is ruled by the program, not printed onto a form: on paper smaller than A4 it is
// shrunk whole rather than cut at the sheet's edge.
double ClinicLogPrintout::fitScale(QSizeF printable)
{
    if (printable.isEmpty())
        return 1;
    return std::min({1.0, printable.width() / kExtentWidth, printable.height() / kExtentHeight});
}

QString ClinicLogPrintout::jobName(QDate today) const
{
    constexpr int kTimeColumn = 5;
    QStringList days;
    for (qsizetype row = 1; row < m_gridRows.size(); ++row) {
        const QString day = m_gridRows[row].value(kTimeColumn).left(10);
        if (!day.isEmpty() && !days.contains(day)) {
            days.append(day);
        }
    }
    const QString when = days.size() > 1 ? days.first().left(7) : days.value(0);
    return PrintJobName::compose(QStringLiteral("门诊日志"), QString(), when, today);
}

void ClinicLogPrintout::printPageFurniture(PageDevice& device, int page, int pages) const
{
    printRuling(device);
    device.setFont({kFace, kTitlePointSize, true});
    device.setPosition(QPointF(80, 20));
    device.printText(QStringLiteral("门 诊 日 志 登 记 本"), LineAdvance::NextLine);
    printHeadings(device);
    printFoot(device, page, pages);
    device.setCurrentY(kFirstRowTop);
}

void ClinicLogPrintout::printRuling(PageDevice& device) const
{
    for (int k = 0; k < kHorizontalRules; ++k) {
        const double y = kRuleTop + kRowPitch * k;
        device.drawLine(QPointF(kRuleLeft, y), QPointF(kRuleRight, y));
    }
    for (double x : kVerticalRules) {
        device.drawLine(QPointF(x, kRuleTop), QPointF(x, kRuleBottom));
    }
}

void ClinicLogPrintout::printHeadings(PageDevice& device) const
{
    device.setFont({kFace, kTextPointSize, true});
    for (const Heading& heading : kHeadings) {
        device.setPosition(QPointF(heading.left, kHeadingTop));
        device.printText(QString::fromUtf16(heading.text), LineAdvance::NextLine);
    }
}

void ClinicLogPrintout::printFoot(PageDevice& device, int page, int pages) const
{
    device.setFont({kFace, kTextPointSize, true});
    device.setPosition(QPointF(0, kFootTop));
    device.printText(QStringLiteral("医生：") + m_doctor, LineAdvance::NextLine);
    device.setPosition(QPointF(kPageNumberLeft, kFootTop));
    device.printText(QStringLiteral("第%1页共%2页").arg(page).arg(pages), LineAdvance::NextLine);
}

void ClinicLogPrintout::printVisit(PageDevice& device, const QStringList& cells, double top) const
{
    device.setFont({kFace, kTextPointSize, false});
    for (int column = 0; column < kPrintedColumns; ++column) {
        device.setPosition(QPointF(kCellLefts[column], top));
        device.printText(cells.value(column), LineAdvance::SameLine);
    }
}

} // namespace quilloa
