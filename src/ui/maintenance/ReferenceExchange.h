#pragma once

#include "core/exchange/FileWriteStatus.h"
#include "core/records/ReferenceEntry.h"
#include "core/startup/AppContext.h"

#include <QObject>
#include <QString>

#include <functional>

class QPushButton;
class QWidget;

namespace quilloa {

// The "导  入" and "导  出" buttons of a maintenance window: a list read from or written to a
// CSV file. The buttons never act on Enter; the window refills its list after an import.
class ReferenceExchange : public QObject
{
    Q_OBJECT
public:
    ReferenceExchange(const AppContext& context, ReferenceList list, QWidget* window,
                      std::function<void()> refill);

    QPushButton* importButton() const { return m_importButton; }
    QPushButton* exportButton() const { return m_exportButton; }

    // What an import did, as told to the user: the summary and the refused lines.
    struct ImportReport
    {
        bool ok = false;
        QString summary;
        QString details;
    };
    ImportReport importFile(const QString& path);
    FileWriteStatus exportFile(const QString& path);

private:
    void importWithDialog();
    void exportWithDialog();
    QString listName() const;

    AppContext m_context;
    ReferenceList m_list;
    QWidget* m_window = nullptr;
    std::function<void()> m_refill;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_exportButton = nullptr;
};

} // namespace quilloa
