#pragma once

#include <QDate>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace quilloa {

class PageDevice;

// The clinic log printed as the ruled register book the clinic files: landscape pages in
// millimetres, 20 visits a page under the title and headings, the doctor and page count at the
// foot. The notes band is left blank because the book is annotated by hand, so only the first
// six grid columns are printed.
class ClinicLogPrintout
{
public:
    static constexpr int kRowsPerPage = 20;
    static constexpr int kPrintedColumns = 6;
    static constexpr double kFirstRowTop = 39;
    static constexpr double kRowPitch = 7;

    // gridRows is the log grid as it stands, heading row 0 included, so its size is the grid's
    // row count; rows may hold fewer cells than the grid has columns (missing ones are empty).
    ClinicLogPrintout(QList<QStringList> gridRows, QString doctor);

    // Pages for a grid of this many rows, heading row included. A grid without visits still
    // prints one page, so the book has no gap for a day nobody came.
    static int pageCount(qsizetype gridRowCount);
    // Top of the k-th visit row of a page, k counted from 1.
    static double rowTop(int rowOnPage) { return kFirstRowTop + kRowPitch * (rowOnPage - 1); }

    // 1 on A4 and larger; below 1 when the register must shrink to fit `printable` (millimetres
    // of a landscape page).
    static double fitScale(QSizeF printable);

    // False when the job could not be started or finished; the device's errorText() says why.
    bool print(PageDevice& device) const;
    // "门诊日志" and the day of the first visit, or the month when the visits span more
    // than one day; today when the grid holds no visit.
    QString jobName(QDate today) const;

private:
    void printPageFurniture(PageDevice& device, int page, int pages) const;
    void printRuling(PageDevice& device) const;
    void printHeadings(PageDevice& device) const;
    void printFoot(PageDevice& device, int page, int pages) const;
    void printVisit(PageDevice& device, const QStringList& cells, double top) const;

    QList<QStringList> m_gridRows;
    QString m_doctor;
};

} // namespace quilloa
