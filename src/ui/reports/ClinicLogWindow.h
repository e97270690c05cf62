#pragma once

#include "core/exchange/FileWriteStatus.h"
#include "core/reports/ClinicLogRow.h"
#include "core/reports/ReportPeriod.h"
#include "core/startup/AppContext.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class QTableView;

namespace quilloa {

class ClinicLogModel;
class DateComboBox;
class PageDevice;

// "门诊日志": the visits of a day or a month as a register, printable as a ruled book.
class ClinicLogWindow : public QDialog
{
    Q_OBJECT
public:
    // `doctor` gives the doctor named at the foot of the printed register (the settings
    // window's doctor box as it stands).
    ClinicLogWindow(const AppContext& context, std::function<QString()> doctor,
                    QWidget* parent = nullptr);

    // The grid as it stands, heading row first, seven cells a row.
    QList<QStringList> gridRows() const;
    // Prints the register from the grid; false when the device refused or broke off the job.
    bool printRegister(PageDevice& device);
    // Writes the rows of the last query, with their fees, as a workbook (.xlsx) or as CSV
    // (.csv). Fails with a message when no query has run yet.
    FileWriteStatus exportTo(const QString& path) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    void buildDayFrame();
    void buildMonthFrame();
    void buildCommands();
    // What a reset of the grid's rows undoes: the register's column widths, the hidden heading row.
    void shapeGrid();
    void runDayQuery();
    void runMonthQuery();
    void runQuery(const ReportPeriod& period);
    void showRows(QList<ClinicLogRow> rows);
    QString jobName() const;
    void printOnDefaultPrinter();
    void exportWithDialog();
    void preview();

    AppContext m_context;
    std::function<QString()> m_doctor;
    ClinicLogModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    DateComboBox* m_dayYear = nullptr;
    DateComboBox* m_dayMonth = nullptr;
    DateComboBox* m_dayDay = nullptr;
    DateComboBox* m_monthYear = nullptr;
    DateComboBox* m_monthMonth = nullptr;
    // The period the grid shows since the last query that could be read; the export writes its
    // rows.
    std::optional<ReportPeriod> m_shownPeriod;
};

} // namespace quilloa
