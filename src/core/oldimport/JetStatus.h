#pragma once

#include <QString>

namespace quilloa {

// Why an old store could not be read, worded for the user.
class JetStatus
{
public:
    enum class Fault
    {
        None,
        Unreadable,  // the file cannot be opened or read
        NoStores,    // the folder holds neither of the old program's stores
        NotJet,      // not an Access database at all
        OlderFormat, // an Access 97 (Jet 3) database
        NewerFormat, // an Access 2007 or later database
        Damaged,     // a page or a row that does not hold together
        WrongTables, // a Jet 4 database without the old program's tables
        CutValue,    // a value that cannot be read whole, or does not fit the program's column
    };

    static JetStatus success() { return JetStatus(); }
    // `detail` says what was found, in plain Chinese; the message adds the file and what to do.
    static JetStatus failure(Fault fault, const QString& path, const QString& detail = QString());

    bool ok() const { return m_fault == Fault::None; }
    Fault fault() const { return m_fault; }
    const QString& message() const { return m_message; }

private:
    Fault m_fault = Fault::None;
    QString m_message;
};

} // namespace quilloa
