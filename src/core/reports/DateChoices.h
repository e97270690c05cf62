#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace quilloa {

// The entries of the year, month and day boxes of the report windows, and today's date in the
// same forms. The boxes take any text, so a year outside the list is shown and used as well.
class DateChoices
{
public:
    static constexpr int kFirstListedYear = 2009;
    static constexpr int kLastListedYear = 2019;

    static QStringList years();  // "2009" ... "2019"
    static QStringList months(); // "01" ... "12"
    static QStringList days();   // "01" ... "31"

    static QString yearText(const QDate& date);  // four digits
    static QString monthText(const QDate& date); // two digits
    static QString dayText(const QDate& date);   // two digits
};

} // namespace quilloa
