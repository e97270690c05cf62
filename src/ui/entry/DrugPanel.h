#pragma once

#include "core/records/ReferenceEntry.h"
#include "core/startup/AppContext.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreResult.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QListWidget;

namespace quilloa {

// The drug search panel left of the desk: a pinyin code box and the list of the drugs whose
// code contains what was typed. Picking a drug hands its entry text on and makes the box ready
// for the next code.
class DrugPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kListCap = 18;

    explicit DrugPanel(const AppContext& context, QWidget* parent = nullptr);

    QLineEdit* searchBox() const { return m_searchBox; }
    QListWidget* drugList() const { return m_drugList; }

    // Fills the list with the first 18 drugs in store order, with or without a code: the list
    // the window opens with.
    void showFirstDrugs();
    // Fills the list with the first 18 drugs, in store order, whose code contains the search
    // text (or, for Chinese typed in, whose name does). It runs at every change of the box and
    // finishes before the next keystroke is read, so the list always holds the drugs of the
    // box's latest text.
    void refill();
    // After the stored drugs changed: the list the box's text asks for, as it is stored now.
    void refresh();
    // Picks the selected drug, if any; then empties the box and gives it the focus either way.
    void pickSelected();

signals:
    // A drug was chosen; `entryText` is the stored name, with "/" before each usage.
    void drugPicked(const QString& entryText);
    // The search box got the focus: the sheet's lookup lists have no business being open.
    void searchBoxFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool searchBoxEvent(QEvent* event);
    bool drugListEvent(QEvent* event);
    // The first 18 drugs for `text`: the box's text, or the letters being composed in it.
    void showMatches(const QString& text);
    void showDrugs(const StoreResult<QList<ReferenceEntry>>& drugs);
    void enterList();

    AppContext m_context;
    QLabel* m_caption = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QListWidget* m_drugList = nullptr;
};

} // namespace quilloa
