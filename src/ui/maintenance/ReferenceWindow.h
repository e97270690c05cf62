#pragma once

#include "core/records/ReferenceEntry.h"
#include "core/startup/AppContext.h"
#include "ui/maintenance/TypedEntry.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QMenu;
class QPushButton;

namespace quilloa {

class ReferenceExchange;
class ReferenceListView;

// "诊断名称维护" (Form3) and "地址名称维护" (Form4): the diagnosis and address lists, added to
// and deleted from. Every store failure is reported and ends the operation, so what was typed
// stays in the boxes.
class ReferenceWindow : public QDialog
{
    Q_OBJECT
public:
    // `list` is ReferenceList::Diagnoses or ReferenceList::Addresses.
    ReferenceWindow(const AppContext& context, ReferenceList list, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool isDiagnoses() const { return m_list == ReferenceList::Diagnoses; }
    void buildControls();
    void setFocusOrder();
    // Lists every stored entry; a list that cannot be read is reported and left as it was.
    void listAll();
    void search(const QString& text);
    void add();
    void remove();
    void quit();
    void report(const QString& what, const QString& error);

    AppContext m_context;
    ReferenceList m_list;
    ReferenceListView* m_lines = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QLineEdit* m_codeBox = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QMenu* m_popup = nullptr;
    ReferenceExchange* m_exchange = nullptr;
    std::optional<TypedEntry> m_typed;
};

} // namespace quilloa
