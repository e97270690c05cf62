#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QRawFont>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <optional>

namespace quilloa::test {

// Reads PDF files back with the poppler tools, for tests that check where things landed.
class PdfWords
{
public:
    struct Word
    {
        QString text;
        QRectF box; // points from the page's top-left corner, as pdftotext -bbox gives it
        int page = 0;
    };

    // Standard output of a tool, or nothing when the tool is not installed or failed.
    static std::optional<QString> run(const QString& tool, const QStringList& arguments)
    {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty()) {
            return std::nullopt;
        }
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            return std::nullopt;
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
    }

    // Every word of every page, in reading order.
    static QList<Word> words(const QString& pdf)
    {
        QList<Word> found;
        const std::optional<QString> html =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        if (!html) {
            return found;
        }
        static const QRegularExpression item(QStringLiteral(
            R"re(<page |<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re"));
        int page = 0;
        for (const QRegularExpressionMatch& match : item.globalMatch(*html)) {
            if (match.captured(0).startsWith(QStringLiteral("<page"))) {
                ++page;
                continue;
            }
            const double left = match.captured(1).toDouble();
            const double top = match.captured(2).toDouble();
            found.append({ideographs(unescaped(match.captured(5))),
                          QRectF(QPointF(left, top), QPointF(match.captured(3).toDouble(),
                                                             match.captured(4).toDouble())),
                          page});
        }
        return found;
    }

    static QList<Word> named(const QList<Word>& words, const QString& text, int page = 0)
    {
        QList<Word> found;
        for (const Word& word : words) {
            if (word.text == text && (page == 0 || word.page == page)) {
                found.append(word);
            }
        }
        return found;
    }

    // Width and height of the first page in points.
    static QSizeF pageSize(const QString& pdf)
    {
        const std::optional<QString> info = run(QStringLiteral("pdfinfo"), {pdf});
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"))
                .match(info.value_or(QString()));
        return size.hasMatch() ? QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble())
                               : QSizeF();
    }

    static int pageCount(const QString& pdf)
    {
        const std::optional<QString> info = run(QStringLiteral("pdfinfo"), {pdf});
        const QRegularExpressionMatch pages =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info.value_or(QString()));
        return pages.hasMatch() ? pages.captured(1).toInt() : 0;
    }

    static double points(double millimetres) { return millimetres / 25.4 * 72; }
    static double pointsFromTwips(double twips) { return twips / 20; }

    // The stand-in CJK faces draw a radical and the ideograph it looks like with one glyph,
    // and the PDF writer names such a glyph by the lower code point, the radical's. Reading
    // back, the radical is turned into the ideograph that shares its glyph.
    static QString ideographs(QString text)
    {
        static const QHash<char16_t, char16_t> radicals = radicalTable();
        for (QChar& character : text) {
            character = QChar(radicals.value(character.unicode(), character.unicode()));
        }
        return text;
    }

private:
    static QHash<char16_t, char16_t> radicalTable()
    {
        QHash<char16_t, char16_t> table;
        QString han;
        for (char16_t c = 0x4E00; c <= 0x9FFF; ++c) {
            han.append(QChar(c));
        }
        QString radicals;
        for (char16_t c = 0x2E80; c <= 0x2FDF; ++c) {
            radicals.append(QChar(c));
        }
        for (const char* family : {"Noto Sans CJK SC", "Noto Serif CJK SC"}) {
            const QRawFont font = QRawFont::fromFont(QFont(QString::fromLatin1(family)));
            if (!font.isValid()) {
                continue;
            }
            const QList<quint32> hanGlyphs = font.glyphIndexesForString(han);
            QHash<quint32, char16_t> byGlyph;
            for (qsizetype i = hanGlyphs.size() - 1; i >= 0; --i) {
                if (hanGlyphs[i] != 0) {
                    byGlyph.insert(hanGlyphs[i], char16_t(0x4E00 + i));
                }
            }
            const QList<quint32> radicalGlyphs = font.glyphIndexesForString(radicals);
            for (qsizetype i = 0; i < radicalGlyphs.size(); ++i) {
                const auto found = byGlyph.constFind(radicalGlyphs[i]);
                if (radicalGlyphs[i] != 0 && found != byGlyph.constEnd()) {
                    table.insert(char16_t(0x2E80 + i), found.value());
                }
            }
        }
        return table;
    }

    static QString unescaped(QString text)
    {
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        return text;
    }
};

} // namespace quilloa::test
