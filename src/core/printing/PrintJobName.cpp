#include "core/printing/PrintJobName.h"

#include <QStringList>

namespace quilloa {

namespace {

QString oneLine(const QString& text)
{
    QString line = text;
    for (QChar& character : line) {
        if (character.category() == QChar::Other_Control) {
            character = QLatin1Char(' ');
        }
    }
    return line.simplified();
}

} // namespace

QString PrintJobName::compose(const QString& kind, const QString& patient, const QString& date,
                              QDate today)
{
    QStringList parts;
    for (const QString& part : {kind, patient, date}) {
        const QString cleaned = oneLine(part);
        if (!cleaned.isEmpty()) {
            parts.append(cleaned);
        }
    }
    if (oneLine(date).isEmpty()) {
        parts.append(today.toString(QStringLiteral("yyyy-MM-dd")));
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace quilloa
