#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

namespace quilloa {

// The server's own indexes for the archive searches, so that a search reads only what it finds:
//
// - 档案_姓名字 holds, for each character of the patient names (Latin letters folded as the
//   searches fold them), which rows carry it: one bit per row, in blocks of kBlockRows rows.
//   A name search reads a few hundred short rows however many records match, where one row per
//   match would cost the server more than the whole search may take. A trigger owned by the
//   schema's owner keeps it, whichever room or tool writes 档案, so workstations need no right
//   to write it and it cannot be left behind by a tool that knows nothing of it.
// - 档案_日期文字 is the visit date folded the same way, in byte order, which serves a date
//   typed from its start (a year, a month, a day).
//
// Records without a visit date are left out of the character index, as no search finds them.
class ServerSearchIndex
{
public:
    static constexpr int kBlockShift = 12;
    static constexpr int kBlockRows = 1 << kBlockShift;

    // The statements that create both indexes over an empty archive, in the caller's
    // transaction; run by the schema's owner.
    static QStringList statements();
    // Creates both indexes over the rows already stored, in the caller's transaction; run by the
    // schema's owner. The character index is filled a few blocks per statement, each well within
    // the time a call may go without an answer however many records there are; as all of it is
    // one transaction, a fill cut off half way leaves no index that a search would trust.
    static QSqlError make(QSqlDatabase& db);

    // The folded date, as the index holds it; a search compares a folded pattern with it.
    static QString foldedDate();
    static QString foldedPattern();
};

} // namespace quilloa
