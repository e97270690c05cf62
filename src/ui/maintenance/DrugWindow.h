#pragma once

#include "core/records/ReferenceEntry.h"
#include "core/startup/AppContext.h"
#include "core/store/StoreResult.h"
#include "ui/maintenance/TypedEntry.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace quilloa {

class ReferenceExchange;
class ReferenceListView;

// "药品维护" (Form2): the drug list with usage texts. A selected drug is shown split into name
// and usage, edited in place or saved as a new drug, or deleted. A keypad types the usual
// prescription abbreviations into the name or usage box.
class DrugWindow : public QDialog
{
    Q_OBJECT
public:
    explicit DrugWindow(const AppContext& context, QWidget* parent = nullptr);

    // Between "添  加" and the next "保  存": that save stores a new drug.
    bool isAdding() const { return m_adding; }

signals:
    // Drugs were saved, deleted or imported: lists of drugs elsewhere are out of date.
    void drugsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildEditFrame();
    void buildKeypad();
    void setFocusOrder();
    // Lists every stored entry; a list that cannot be read is reported and left as it was.
    void listAll();

    void search(const QString& text);
    // After a save or a deletion; a list that cannot be read stays empty.
    void refillQuietly();
    // The drugs the search box offers for `text`: its text, or the letters being composed.
    StoreResult<QList<ReferenceEntry>> lookUp(const QString& text) const;
    void showEntries(const StoreResult<QList<ReferenceEntry>>& found);
    void selectEntry(int line);
    void showEntry(const ReferenceEntry& entry);
    std::optional<StoreStatus> updateSelected(const QString& name, const QString& code);
    void startAdding();
    void save();
    void remove();
    void typeKey(const QString& caption);
    void askForSelection();

    AppContext m_context;
    ReferenceListView* m_list = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QLineEdit* m_usageBox = nullptr;
    QLineEdit* m_codeBox = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QLabel* m_help = nullptr;
    QFrame* m_keypad = nullptr;
    QMenu* m_popup = nullptr;
    ReferenceExchange* m_exchange = nullptr;

    bool m_adding = false;
    // The drug whose texts the boxes show; none after a refill until a line is selected.
    std::optional<qint64> m_selectedRowId;
    // That drug as it was read: a save writes over it only while the store still holds it so.
    std::optional<ReferenceEntry> m_readEntry;
    QPointer<QLineEdit> m_lastEditBox;
    std::optional<TypedEntry> m_typed;
};

} // namespace quilloa
