#pragma once

#include "core/exchange/FileWriteStatus.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quilloa {

// Comma-separated text as spreadsheets read and write it: fields holding a comma, a quote or a
// line break are quoted, quotes doubled; lines end in CR LF.
class CsvText
{
public:
    // One line without its line end.
    static QString line(const QStringList& fields);
    // UTF-8 with a byte order mark, so that a spreadsheet opens the Chinese text intact.
    static QByteArray utf8WithBom(const QList<QStringList>& lines);
    // Writes the lines as a whole file: the old file stays until the new one is complete.
    static FileWriteStatus write(const QList<QStringList>& lines, const QString& path);

    // The records of a text, each with the number (from 1) of the line it starts on. Quoted
    // fields may span lines. Blank lines give a record with one empty field.
    struct Record
    {
        int lineNumber = 0;
        QStringList fields;
    };
    static QList<Record> parse(const QString& text);

    // A text field that a spreadsheet would take for a formula ("=", "+", "-", "@" first) gets
    // a leading apostrophe, so an exported name can never run as a formula.
    static QString defused(const QString& text);
};

} // namespace quilloa
