#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QTextDocument;

namespace quilloa {

// The content of a prescription body read from its rich-text form: runs of text with their
// character formats. A paragraph break is a "\n" inside a run's text.
class RtfDocument
{
public:
    struct Run
    {
        QString text;
        QString fontFamily;   // empty when the document names no font
        double pointSize = 0; // 0 when the document gives no size
        bool bold = false;
        bool italic = false;
        QColor colour; // invalid = the default text colour

        bool hasSameFormat(const Run& other) const;
    };

    // One unformatted run holding the text; CR LF and lone CR become "\n".
    static RtfDocument fromPlainText(const QString& text);

    const QList<Run>& runs() const { return m_runs; }
    bool isEmpty() const { return m_runs.isEmpty(); }

    // Appends text in the format of `format` (whose own text is ignored), joining it to the
    // last run when the formats agree.
    void append(const QString& text, const Run& format);

    // Drops one "\n" at the very end, if there is one: a rich-text body ends with the mark
    // of its last paragraph, which closes the last line rather than starting a new one.
    void removeFinalParagraphMark();

    // The text with lines joined by CR LF, as the body's plain text is kept.
    QString plainText() const;

    // Replaces the content of `document` with the runs and their character formats.
    void fillTextDocument(QTextDocument& document) const;

private:
    QList<Run> m_runs;
};

} // namespace quilloa
