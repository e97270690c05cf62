#include "entry/DrugPanel.h"

#include "common/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace quilloa {

DrugPanel::DrugPanel(const AppContext& context, QWidget* parent)
    : QFrame(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame2"));
    setFrameShape(QFrame::StyledPanel);
    m_caption = new QLabel(QStringLiteral("拼音码查询："), this);
    m_caption->setObjectName(QStringLiteral("Label5_17"));
    m_caption->setGeometry(twipsRect(120, 300, 1080, 180));
    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(QStringLiteral("Text1"));
    m_searchBox->setGeometry(twipsRect(1200, 240, 2235, 315));
    m_drugList = new QListWidget(this);
    m_drugList->setObjectName(QStringLiteral("List1"));
    m_drugList->setGeometry(twipsRect(120, 660, 3315, 3855));
}

void DrugPanel::refill()
{
    m_drugList->clear();
    const auto drugs = m_context.settings().codeContains(ReferenceList::Drugs, m_searchBox->text(),
                                                         kListCap);
    if (!drugs.ok())
        return; // a lookup that fails leaves the list empty
    for (const ReferenceEntry& drug : drugs.value())
        m_drugList->addItem(drug.name);
}

} // namespace quilloa
