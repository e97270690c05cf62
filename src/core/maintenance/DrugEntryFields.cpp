#include "core/maintenance/DrugEntryFields.h"

#include <utility>

namespace quilloa {

DrugEntryFields::DrugEntryFields(QString name, QString usage)
    : m_name(std::move(name)), m_usage(std::move(usage))
{
}

DrugEntryFields DrugEntryFields::fromStored(const QString& stored)
{
    const qsizetype slash = stored.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return DrugEntryFields(stored, QString());
    return DrugEntryFields(stored.left(slash), stored.mid(slash + 1));
}

QString DrugEntryFields::stored() const
{
    if (m_usage.isEmpty())
        return m_name;
    return m_name + QLatin1Char('/') + m_usage;
}

} // namespace quilloa
