#pragma once

#include "BenchDataSet.h"
#include "BenchInputs.h"
#include "ResultTable.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class QAbstractItemView;
class QLineEdit;
class QWidget;

namespace quilloa {
class ArchivePanel;
class ArchiveStore;
} // namespace quilloa

namespace quilloa::bench {

// Times what the doctor sees, in-process and off screen: keystroke in, list or grid filled and
// drawn, out; a window opened; a record shown or saved; the program started. An operation whose
// window is not there (or does not answer as the program should) is reported as not measured.
class WidgetBench
{
public:
    explicit WidgetBench(ResultTable& table) : m_table(table) {}

    void referenceLists(const BenchDataSet& data, const BenchInputs& inputs);
    void archive(const BenchDataSet& data, const BenchInputs& inputs);
    void startup(const BenchDataSet& data);

private:
    // How long each keystroke of `codes` takes to answer, typed letter by letter into `box`
    // after emptying it; the first round only warms up.
    static QList<double> keystrokeTimes(QLineEdit* box, QAbstractItemView* list,
                                        const QStringList& codes, int letter);

    void drugPanel(QWidget* main, const BenchInputs& inputs);
    void sheetLookups(QWidget* main, const BenchInputs& inputs);
    void drugWindow(QWidget* main, const BenchInputs& inputs);
    void archivePanel(QWidget* main, const BenchDataSet& data);
    void foundListShown(ArchivePanel* panel, QAbstractItemView* list, const ArchiveStore& store,
                        const QString& size);
    void showRecord(QWidget* main, const BenchDataSet& data);
    void statistics(QWidget* main, const BenchDataSet& data, const BenchInputs& inputs);
    void clinicLog(QWidget* main, const BenchDataSet& data, const BenchInputs& inputs);
    void saving(QWidget* main, const BenchDataSet& data);
    void firstSearch(const BenchDataSet& data);
    void processStartup(const BenchDataSet& data);

    void add(const QString& operation, const QString& size, const Timing& timing, const Goal& goal);
    void skip(const QString& operation, const QString& size, const Goal& goal,
              const QString& reason);

    ResultTable& m_table;
};

} // namespace quilloa::bench
