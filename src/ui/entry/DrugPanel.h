#pragma once

#include "startup/AppContext.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QListWidget;

namespace quilloa {

// The drug search panel left of the desk: a pinyin code box and the list of matching drugs.
class DrugPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kListCap = 18;

    explicit DrugPanel(const AppContext& context, QWidget* parent = nullptr);

    QLineEdit* searchBox() const { return m_searchBox; }
    QListWidget* drugList() const { return m_drugList; }

    // Fills the list with the drugs whose code contains the search text, at most 18.
    void refill();

signals:
    // A drug was chosen; `entryText` is the stored name, with "/" before each usage.
    void drugPicked(const QString& entryText);

private:
    AppContext m_context;
    QLabel* m_caption = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QListWidget* m_drugList = nullptr;
};

} // namespace quilloa
