#pragma once

#include <QString>
#include <QtGlobal>

namespace quilloa {

// One value of a row of an old store, as the store held it: NULL, a text (text and memo
// columns) or a currency amount in ten-thousandths. `whole` is false when the value could not be
// read to its end; such a value is never written anywhere.
struct JetValue
{
    bool null = true;
    QString text;
    qint64 units = 0;
    bool whole = true;

    static JetValue ofText(QString text)
    {
        JetValue value;
        value.null = false;
        value.text = std::move(text);
        return value;
    }
    static JetValue ofUnits(qint64 units)
    {
        JetValue value;
        value.null = false;
        value.units = units;
        return value;
    }
    static JetValue cut()
    {
        JetValue value;
        value.whole = false;
        return value;
    }
    // The text, or a null text for NULL.
    QString textOrNull() const { return null ? QString() : text; }
};

} // namespace quilloa
