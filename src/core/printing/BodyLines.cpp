#include "core/printing/BodyLines.h"

namespace quilloa {

namespace {

bool endsLine(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QStringList BodyLines::split(const QString& body, qsizetype maxLines)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (maxLines >= 0 && lines.size() >= maxLines) {
            return lines;
        }
        if (!endsLine(body[i])) {
            continue;
        }
        lines.append(body.mid(start, i - start));
        if (body[i] == u'\r' && i + 1 < body.size() && body[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (maxLines < 0 || lines.size() < maxLines) {
        lines.append(body.mid(start));
    }
    return lines;
}

} // namespace quilloa
