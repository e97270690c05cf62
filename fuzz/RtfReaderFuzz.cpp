// libFuzzer entry point for the prescription body reader: any input must return, without
// crashing, hanging or reading out of bounds.
#include "core/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

// Text documents need the font machinery of a GUI application; no window is ever shown.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = qsizetype(size);

    // Every byte as one character, and the same bytes as UTF-8 (as text read from a store).
    for (const QString& input :
         {QString::fromLatin1(chars, length), QString::fromUtf8(chars, length)}) {
        const quilloa::RtfDocument document = quilloa::RtfReader::read(input);
        (void)document.plainText();
        QTextDocument textDocument;
        document.fillTextDocument(textDocument);
    }
    return 0;
}
