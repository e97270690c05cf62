#pragma once

#include "core/rtf/RtfDocument.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringView>

namespace quilloa {

// Reads a prescription body's rich-text form: what RtfWriter writes and what a Windows
// rich-edit box writes for Chinese text (code page 936 bytes as \'xx, font tables with
// escaped names, \uN with \ucN, colour tables, skipped destinations, \binN).
//
// Text that does not start with "{\rtf" is taken as plain text. Any input is read in one pass
// with bounded nesting, so malformed or hostile text never crashes or hangs the reader.
class RtfReader
{
public:
    static RtfDocument read(QStringView input);

    // Groups nested deeper than this are skipped whole.
    static constexpr int kMaxDepth = 256;

private:
    enum class Destination
    {
        Text,
        Skip,
        FontTable,
        ColourTable
    };

    struct GroupState
    {
        Destination destination = Destination::Text;
        int font = -1; // -1: the document's default font
        int halfPoints = 0;
        bool bold = false;
        bool italic = false;
        int colour = 0;
        int unicodeSkip = 1;
    };

    struct Font
    {
        QString name;
        int codePage = 0; // 0: the document's code page
    };

    struct ControlWord
    {
        QStringView name;
        bool hasParameter = false;
        int parameter = 0;
    };

    explicit RtfReader(QStringView input);
    RtfDocument parse();

    GroupState& state() { return m_groups.last(); }
    bool atEnd() const { return m_pos >= m_input.size(); }
    Destination destination() const;

    void openGroup();
    void closeGroup();
    void readBackslash();
    void readControlSymbol(QChar symbol);
    void readHexByte();
    ControlWord readControlWord();
    int readParameter();
    bool consumeSkippedCharacter();

    void handleControlWord(const ControlWord& word);
    bool handleDestination(QStringView name);
    bool handleDocumentWord(const ControlWord& word);
    bool handleFormatting(const ControlWord& word);
    bool handleSpecialCharacter(const ControlWord& word);
    void handleFontTableWord(const ControlWord& word);
    void handleColourTableWord(const ControlWord& word);
    void skipBinary(int length);

    void addText(QChar c);
    void addByte(char byte);
    void addSpecial(QChar c);
    void addUnicode(int value);
    void flushBytes();
    void emitText(const QString& text);
    void commitFont();
    void commitColour();

    int codePageForBytes() const;
    int currentFontNumber() const;
    RtfDocument::Run currentFormat() const;

    QStringView m_input;
    qsizetype m_pos = 0;
    QList<GroupState> m_groups;
    int m_excessDepth = 0;
    bool m_finished = false;
    int m_pendingSkip = 0;

    QByteArray m_bytes;
    int m_documentCodePage = 936;
    int m_defaultFont = 0;
    QHash<int, Font> m_fonts;
    QList<QColor> m_colours;

    int m_fontBeingDefined = -1;
    Font m_fontDefinition;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;

    RtfDocument m_document;
};

} // namespace quilloa
