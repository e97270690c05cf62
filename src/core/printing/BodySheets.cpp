#include "core/printing/BodySheets.h"

#include "core/entry/DrugEntryText.h"
#include "core/printing/BodyLines.h"
#include "core/printing/SheetFaceMetrics.h"

#include <algorithm>

namespace quilloa {

namespace {

bool blank(const QList<BodyRow>& rows)
{
    return std::all_of(rows.begin(), rows.end(),
                       [](const BodyRow& row) { return row.text.trimmed().isEmpty(); });
}

} // namespace

BodySheets::BodySheets(const QList<BodyRow>& rows, int rowsPerSheet)
{
    m_sheets.clear();
    qsizetype start = 0;
    do {
        const qsizetype cut = cutAfter(rows, start, std::max(1, rowsPerSheet));
        m_sheets.append(rows.mid(start, cut - start));
        start = cut;
    } while (start < rows.size());
    while (m_sheets.size() > 1 && blank(m_sheets.last())) {
        m_sheets.removeLast();
    }
    // Blank rows after the last text are not worth a word when the body goes on anyway.
    while (m_sheets.size() > 1 && m_sheets.last().last().text.trimmed().isEmpty()) {
        m_sheets.last().removeLast();
    }
}

qsizetype BodySheets::cutAfter(const QList<BodyRow>& rows, qsizetype start, int room)
{
    const qsizetype full = start + room;
    if (full >= rows.size()) {
        return rows.size();
    }
    qsizetype cut = full;
    while (cut > start && rows[cut].continued) {
        --cut; // back to the start of the wrapped line
    }
    if (cut == start) {
        return full; // one line longer than a whole sheet has to break somewhere
    }
    if (startsUsage(rows[cut])) {
        qsizetype drug = cut - 1;
        while (drug > start && rows[drug].continued) {
            --drug;
        }
        if (drug > start && !startsUsage(rows[drug])) {
            cut = drug; // the drug goes over with its usage
        }
    }
    return cut;
}

bool BodySheets::startsUsage(const BodyRow& row)
{
    return !row.continued && row.text.trimmed().startsWith(DrugEntryText::kUsagePrefix.trimmed());
}

int BodySheets::rowsAfterFirstSheet() const
{
    int rows = 0;
    for (qsizetype i = 1; i < m_sheets.size(); ++i) {
        rows += int(m_sheets[i].size());
    }
    return rows;
}

QList<BodyRow> BodySheets::wrapped(const QString& body, double widthTwips, double pointSize)
{
    QList<BodyRow> lines;
    for (const QString& line : BodyLines::split(body)) {
        lines.append({line, false});
    }
    return fitted(lines, widthTwips, pointSize);
}

QList<BodyRow> BodySheets::fitted(const QList<BodyRow>& rows, double widthTwips, double pointSize)
{
    QList<BodyRow> fitting;
    for (const BodyRow& row : rows) {
        const QString& line = row.text;
        qsizetype start = 0;
        double width = 0;
        bool continued = row.continued;
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i].isLowSurrogate()) {
                continue; // the pair is measured and kept whole at its first half
            }
            const double advance = SheetFaceMetrics::advanceTwips(line[i].unicode(), pointSize);
            if (i > start && width + advance > widthTwips) {
                fitting.append({line.mid(start, i - start), continued});
                start = i;
                width = 0;
                continued = true;
            }
            width += advance;
        }
        fitting.append({line.mid(start), continued});
    }
    return fitting;
}

} // namespace quilloa
