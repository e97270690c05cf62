#pragma once

#include <QList>
#include <QString>

namespace quilloa {

// One printed row of a body: a whole line, or the part of a long line that wrapped onto it.
struct BodyRow
{
    QString text;
    bool continued = false; // the wrapped-on rest of the row above

    friend bool operator==(const BodyRow&, const BodyRow&) = default;
};

// The rows of a body dealt onto as many sheets as they need, each holding at most a fixed
// number of rows, so that nothing of a prescription is left off the paper.
//
// A sheet never ends inside a wrapped line, nor between a drug and the usage line under it:
// a pharmacist handed the first sheet must not read a drug without its usage. Blank rows at
// the very end start no sheet of their own.
class BodySheets
{
public:
    BodySheets() = default;
    BodySheets(const QList<BodyRow>& rows, int rowsPerSheet);

    // The body's lines (as BodyLines splits them), each wrapped greedily so that no row is
    // wider than widthTwips at the sheet faces' metrics for that point size.
    [[nodiscard]] static QList<BodyRow> wrapped(const QString& body, double widthTwips,
                                                double pointSize);
    // The rows as given (say, as a text box wraps them on screen), any row still too wide
    // wrapped on in the same way.
    [[nodiscard]] static QList<BodyRow> fitted(const QList<BodyRow>& rows, double widthTwips,
                                               double pointSize);

    [[nodiscard]] int sheetCount() const { return int(m_sheets.size()); }
    [[nodiscard]] const QList<BodyRow>& sheet(int index) const { return m_sheets.at(index); }
    // Rows that do not fit on the first sheet: what a single sheet would leave off.
    [[nodiscard]] int rowsAfterFirstSheet() const;

private:
    // Where the sheet starting at `start` ends when it may hold `room` rows.
    static qsizetype cutAfter(const QList<BodyRow>& rows, qsizetype start, int room);
    static bool startsUsage(const BodyRow& row);

    QList<QList<BodyRow>> m_sheets{QList<BodyRow>()};
};

} // namespace quilloa
