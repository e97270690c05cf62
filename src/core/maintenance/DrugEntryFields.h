#pragma once

#include <QString>

namespace quilloa {

// A drug entry as the drug window edits it: the name with its strength, and the usage.
// Stored as one text, the name alone or name "/" usage; the drug picker of the sheet splits the
// stored text at the same "/".
class DrugEntryFields
{
public:
    DrugEntryFields() = default;
    DrugEntryFields(QString name, QString usage);

    // Split at the first "/": a "/" inside the usage stays in the usage.
    static DrugEntryFields fromStored(const QString& stored);

    const QString& name() const { return m_name; }
    const QString& usage() const { return m_usage; }

    // A usage counts as missing only when it holds no character at all, so a usage of blanks
    // is kept after a "/".
    QString stored() const;

private:
    QString m_name;
    QString m_usage;
};

} // namespace quilloa
