#include "WidgetBench.h"

#include "BenchGoals.h"
#include "BenchText.h"
#include "RawSqlite.h"
#include "WindowDriver.h"

#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "support/FixedClock.h"
#include "ui/entry/ArchiveListModel.h"
#include "ui/entry/ArchivePanel.h"
#include "ui/startup/AppStartup.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

namespace quilloa::bench {
namespace {

const QDateTime kNormalDay(QDate(2019, 12, 31), QTime(9, 30));
const QDateTime kBackupDay(QDate(2019, 12, 20), QTime(9, 30));
constexpr int kKeystrokeRounds = 4; // the first only warms up
constexpr int kLetters = 3;
constexpr int kStartRuns = 7;
constexpr int kBackupStartRuns = 4;
// The soonest a hand reaches the search box after the window appears.
constexpr int kReachMs = 300;
constexpr int kProcessWaitMs = 30000;

double elapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

std::unique_ptr<QWidget> start(const BenchDataSet& data, const QDateTime& now)
{
    std::unique_ptr<QWidget> window(
        AppStartup::start(data.programFolder(), std::make_shared<FixedClock>(now)));
    WindowDriver::settle();
    return window;
}

// Ends a started program: its window, its connections and what a backup day left behind.
void stop(std::unique_ptr<QWidget>& window, const BenchDataSet& data)
{
    window.reset();
    WindowDriver::settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StoreConnection::closeAll();
    QDir(data.paths().backupFolder).removeRecursively();
}

int rowsOf(QAbstractItemView* view)
{
    return view && view->model() ? view->model()->rowCount() : -1;
}

// How many lines a search put into T1, and whether more follow as it is scrolled.
QString linesShown(const ArchiveStore::FirstRows& found)
{
    const bool more = found.paged && found.rows.size() >= ArchiveListModel::kPage;
    return QStringLiteral(", %1 lines%2")
        .arg(thousands(found.rows.size()),
             more ? QStringLiteral(" (a first page; more as T1 is scrolled)") : QString());
}

QString sizeOf(const BenchDataSet& data)
{
    return data.sizeText();
}

QString daySize(const BenchDataSet& data, const BenchInputs& inputs)
{
    return sizeOf(data) + QStringLiteral(", day of %1 visits").arg(inputs.dayVisits());
}

QString monthSize(const BenchDataSet& data, const BenchInputs& inputs)
{
    return sizeOf(data) +
           QStringLiteral(", month of %1 visits").arg(thousands(inputs.monthVisits()));
}

void setBoxes(QWidget* window, const QStringList& texts, int firstIndex)
{
    for (int i = 0; i < int(texts.size()); ++i) {
        auto* box =
            WindowDriver::find<QComboBox>(window, QStringLiteral("Combo1_%1").arg(firstIndex + i));
        if (box)
            box->setEditText(texts.at(i));
    }
}

} // namespace

void WidgetBench::add(const QString& operation, const QString& size, const Timing& timing,
                      const Goal& goal)
{
    m_table.add({operation, size, timing, std::nullopt, goal, QString()});
}

void WidgetBench::skip(const QString& operation, const QString& size, const Goal& goal,
                       const QString& reason)
{
    m_table.skip(operation, size, goal, QStringLiteral("n/a: ") + reason);
}

QList<double> WidgetBench::keystrokeTimes(QLineEdit* box, QAbstractItemView* list,
                                          const QStringList& codes, int letter)
{
    QList<double> times;
    for (int round = 0; round < kKeystrokeRounds; ++round) {
        for (const QString& code : codes) {
            box->clear();
            WindowDriver::settle();
            for (int k = 0; k < kLetters && k < code.size(); ++k) {
                QElapsedTimer timer;
                timer.start();
                WindowDriver::type(box, code.at(k));
                WindowDriver::painted(list->viewport());
                const double ms = elapsedMs(timer);
                if (round > 0 && (letter < 0 || k == letter))
                    times.append(ms);
            }
        }
    }
    box->clear();
    WindowDriver::settle();
    return times;
}

void WidgetBench::referenceLists(const BenchDataSet& data, const BenchInputs& inputs)
{
    StoreConnection::closeAll(); // the first start opens the stores as a new process would
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QWidget> main = start(data, kNormalDay);
    const double firstStart = elapsedMs(timer);
    const QString size = sizeOf(data);
    const QString firstStartName = QStringLiteral("start-up to main window, first in the process");
    if (!main || main->objectName() != u"Form1" || !main->isVisible()) {
        skip(firstStartName, size, goals::kStartup, QStringLiteral("main window did not open"));
        return;
    }
    add(firstStartName, size, Timing::of({firstStart}), goals::kStartup);
    drugPanel(main.get(), inputs);
    sheetLookups(main.get(), inputs);
    drugWindow(main.get(), inputs);
    stop(main, data);
}

void WidgetBench::drugPanel(QWidget* main, const BenchInputs& inputs)
{
    QWidget* panel = WindowDriver::find<QWidget>(main, QStringLiteral("Frame2"));
    auto* box = WindowDriver::find<QLineEdit>(panel, QStringLiteral("Text1"));
    auto* list = WindowDriver::find<QAbstractItemView>(panel, QStringLiteral("List1"));
    const QString size = thousands(BenchDataSet::kDrugs) + QStringLiteral(" drugs");
    const QStringList codes = inputs.drugCodes(kLetters);
    // The list must answer a keystroke with exactly the drugs the store finds.
    QString reason;
    if (!box || !list) {
        reason = QStringLiteral("drug search box Text1 or list List1 missing");
    } else {
        box->clear();
        for (const QChar letter : codes.first())
            WindowDriver::type(box, letter);
        WindowDriver::settle();
        const auto expected = SettingsStore(inputs.settingsFile())
                                  .codeContains(ReferenceList::Drugs, codes.first(), 18);
        if (!expected.ok() || rowsOf(list) != int(expected.value().size()))
            reason = QStringLiteral("typing into Text1 does not refill List1");
    }
    for (int letter = 0; letter < kLetters; ++letter) {
        const QString name =
            QStringLiteral("drug list per keystroke, %1-letter code (Text1 → List1 painted)")
                .arg(letter + 1);
        if (!reason.isEmpty())
            skip(name, size, goals::kKeystroke, reason);
        else
            add(name, size, Timing::of(keystrokeTimes(box, list, codes, letter)),
                goals::kKeystroke);
    }
}

void WidgetBench::sheetLookups(QWidget* main, const BenchInputs& inputs)
{
    WindowDriver::trigger(main, QStringLiteral("menuNew"));
    WindowDriver::settle();
    const struct
    {
        const char* operation;
        const char* field;
        const char* list;
        ReferenceList which;
        SettingsStore::CodeMatch match;
        QStringList codes;
        QString size;
    } lookups[] = {
        {"diagnosis field per keystroke (Text4_4 → list painted)", "Text4_4", "list2",
         ReferenceList::Diagnoses, SettingsStore::CodeMatch::Prefix,
         inputs.diagnosisCodes(kLetters),
         thousands(BenchDataSet::kDiagnoses) + QStringLiteral(" diagnoses")},
        {"address field per keystroke (Text4_5 → list painted)", "Text4_5", "list5",
         ReferenceList::Addresses, SettingsStore::CodeMatch::Contains,
         inputs.addressCodes(kLetters),
         thousands(BenchDataSet::kAddresses) + QStringLiteral(" addresses")},
    };
    const SettingsStore store(inputs.settingsFile());
    for (const auto& lookup : lookups) {
        const QString name = QString::fromUtf8(lookup.operation);
        const QString& size = lookup.size;
        auto* field = WindowDriver::find<QLineEdit>(main, QString::fromUtf8(lookup.field));
        auto* list = WindowDriver::find<QAbstractItemView>(main, QString::fromUtf8(lookup.list));
        if (!field || !list || !field->isVisible()) {
            skip(name, size, goals::kKeystroke, QStringLiteral("sheet field or its list missing"));
            continue;
        }
        field->clear();
        for (const QChar letter : lookup.codes.first())
            WindowDriver::type(field, letter);
        WindowDriver::settle();
        const auto expected = store.names(lookup.which, lookup.codes.first(), lookup.match);
        if (!expected.ok() || rowsOf(list) != int(expected.value().size())) {
            skip(name, size, goals::kKeystroke, QStringLiteral("typing does not refill the list"));
            continue;
        }
        add(name, size, Timing::of(keystrokeTimes(field, list, lookup.codes, -1)),
            goals::kKeystroke);
    }

    // Entering the address field lists every address whose code begins with what it holds.
    const QString entering =
        QStringLiteral("address field entered empty (Text4_5 → all listed, painted)");
    const QString size = thousands(BenchDataSet::kAddresses) + QStringLiteral(" addresses");
    auto* diagnosis = WindowDriver::find<QLineEdit>(main, QStringLiteral("Text4_4"));
    auto* address = WindowDriver::find<QLineEdit>(main, QStringLiteral("Text4_5"));
    auto* list = WindowDriver::find<QAbstractItemView>(main, QStringLiteral("list5"));
    if (!diagnosis || !address || !list || !WindowDriver::activate(main)) {
        skip(entering, size, goals::kKeystroke,
             QStringLiteral("address field cannot take the focus"));
        return;
    }
    address->clear();
    bool listed = true;
    const Timing timing = Timing::measureTimed([&] {
        diagnosis->setFocus(Qt::TabFocusReason);
        WindowDriver::settle();
        QElapsedTimer timer;
        timer.start();
        address->setFocus(Qt::TabFocusReason);
        WindowDriver::painted(list->viewport());
        const double ms = elapsedMs(timer);
        listed = listed && rowsOf(list) == BenchDataSet::kAddresses && list->isVisible();
        return ms;
    });
    if (listed)
        add(entering, size, timing, goals::kKeystroke);
    else
        skip(entering, size, goals::kKeystroke,
             QStringLiteral("entering does not list the addresses"));
}

void WidgetBench::drugWindow(QWidget* main, const BenchInputs& inputs)
{
    const QString size = thousands(BenchDataSet::kDrugs) + QStringLiteral(" drugs");
    const QString opening = QStringLiteral("drug window opening (Form2 painted, List1 filled)");
    const QString search =
        QStringLiteral("reference-window search per keystroke (Text1 → List1 painted)");
    bool listed = true;
    const Timing open = Timing::measureTimed(
        [&] {
            QElapsedTimer timer;
            timer.start();
            WindowDriver::trigger(main, QStringLiteral("menuDrugs"));
            QWidget* window = WindowDriver::window(QStringLiteral("Form2"));
            WindowDriver::painted(window);
            const double ms = elapsedMs(timer);
            listed = listed && rowsOf(WindowDriver::find<QAbstractItemView>(
                                   window, QStringLiteral("List1"))) == BenchDataSet::kDrugs;
            WindowDriver::close(window);
            return ms;
        },
        5, 30, 1500, 1);
    if (!listed) {
        skip(opening, size, goals::kListShown,
             QStringLiteral("drug window does not list the drugs yet"));
        skip(search, size, goals::kKeystroke, QStringLiteral("drug window not there yet"));
        return;
    }
    add(opening, size, open, goals::kListShown);

    WindowDriver::trigger(main, QStringLiteral("menuDrugs"));
    WindowDriver::settle();
    QWidget* window = WindowDriver::window(QStringLiteral("Form2"));
    auto* box = WindowDriver::find<QLineEdit>(window, QStringLiteral("Text1"));
    auto* list = WindowDriver::find<QAbstractItemView>(window, QStringLiteral("List1"));
    const QStringList codes = inputs.drugCodes(kLetters);
    QString reason;
    if (!box || !list) {
        reason = QStringLiteral("search box Text1 missing");
    } else {
        box->clear();
        for (const QChar letter : codes.first())
            WindowDriver::type(box, letter);
        WindowDriver::settle();
        const auto expected = SettingsStore(inputs.settingsFile())
                                  .codeStartsWith(ReferenceList::Drugs, codes.first());
        if (!expected.ok() || rowsOf(list) != int(expected.value().size()))
            reason = QStringLiteral("typing into Text1 does not refill List1");
    }
    if (reason.isEmpty())
        add(search, size, Timing::of(keystrokeTimes(box, list, codes, -1)), goals::kKeystroke);
    else
        skip(search, size, goals::kKeystroke, reason);
    WindowDriver::close(window);
}

void WidgetBench::archive(const BenchDataSet& data, const BenchInputs& inputs)
{
    std::unique_ptr<QWidget> main = start(data, kNormalDay);
    if (!main || main->objectName() != u"Form1") {
        skip(QStringLiteral("archive windows"), sizeOf(data), goals::kNone,
             QStringLiteral("main window did not open"));
        return;
    }
    archivePanel(main.get(), data);
    if (data.village()) {
        stop(main, data);
        return;
    }
    showRecord(main.get(), data);
    statistics(main.get(), data, inputs);
    clinicLog(main.get(), data, inputs);
    if (data.records() == BenchDataSet::kLargeArchive)
        saving(main.get(), data);
    stop(main, data);
}

void WidgetBench::archivePanel(QWidget* main, const BenchDataSet& data)
{
    const QString size = sizeOf(data);
    auto* panel = WindowDriver::find<ArchivePanel>(main, QStringLiteral("Frame3"));
    auto* list = WindowDriver::find<QAbstractItemView>(panel, QStringLiteral("T1"));
    const QString opening = QStringLiteral("archive list at opening (T1 painted, first 100)");
    if (!panel || rowsOf(list) != std::min(data.records(), ArchivePanel::kOpeningCap)) {
        skip(opening, size, goals::kNone, QStringLiteral("archive list T1 not filled at opening"));
    } else {
        add(opening, size, Timing::measureTimed([panel, list] {
                QElapsedTimer timer;
                timer.start();
                panel->rebuild();
                WindowDriver::painted(list->viewport());
                const double ms = elapsedMs(timer);
                return ms;
            }),
            goals::kNone);
    }

    auto* name = WindowDriver::find<QLineEdit>(panel, QStringLiteral("Text2"));
    auto* date = WindowDriver::find<QLineEdit>(panel, QStringLiteral("Text3"));
    auto* button = WindowDriver::find<QAbstractButton>(panel, QStringLiteral("Command2"));
    const struct
    {
        QString operation;
        QString name;
        QString date;
    } searches[] = {
        {QStringLiteral("archive search, both boxes empty (Command2 → T1 painted)"), QString(),
         QString()},
        {QStringLiteral("archive search by one character 王 (Command2 → T1 painted)"),
         QStringLiteral("王"), QString()},
        {QStringLiteral("archive search by two characters 王秀 (Command2 → T1 painted)"),
         QStringLiteral("王秀"), QString()},
        {QStringLiteral("archive search by three characters 王秀英 (Command2 → T1 painted)"),
         QStringLiteral("王秀英"), QString()},
        {QStringLiteral("archive search by a year (Command2 → T1 painted)"), QString(),
         BenchInputs::year()},
        {QStringLiteral("archive search by a month (Command2 → T1 painted)"), QString(),
         BenchInputs::monthText()},
    };
    const ArchiveStore store(data.paths().archiveFile);
    for (const auto& search : searches) {
        if (!name || !date || !button || !list) {
            skip(search.operation, size, goals::kArchiveSearch,
                 QStringLiteral("search boxes or button missing"));
            continue;
        }
        name->setText(search.name);
        date->setText(search.date);
        // A search read in pages first lists its first page.
        const auto expected = store.searchFirst(search.name, search.date, ArchiveListModel::kPage);
        bool filled = true;
        const Timing timing = Timing::measureTimed(
            [&] {
                QElapsedTimer timer;
                timer.start();
                WindowDriver::click(button);
                WindowDriver::painted(list->viewport());
                const double ms = elapsedMs(timer);
                filled =
                    filled && expected.ok() && rowsOf(list) == int(expected.value().rows.size());
                return ms;
            },
            7, 60, 1500, 1);
        if (filled)
            add(search.operation + linesShown(expected.value()), size, timing,
                goals::kArchiveSearch);
        else
            skip(search.operation, size, goals::kArchiveSearch,
                 QStringLiteral("T1 does not list what was found"));
    }
    foundListShown(panel, list, store, size);
}

// The list's own part of a search: what a search found handed to T1 as the panel hands it (the
// first page of a search read in pages) and laid out, the store not counted.
void WidgetBench::foundListShown(ArchivePanel* panel, QAbstractItemView* list,
                                 const ArchiveStore& store, const QString& size)
{
    const QString operation = QStringLiteral("archive list shows what a search found (T1 painted, "
                                             "no store)");
    const QString name = QStringLiteral("王");
    const auto found = store.searchFirst(name, QString(), ArchiveListModel::kPage);
    auto* lines = list ? qobject_cast<ArchiveListModel*>(list->model()) : nullptr;
    if (!panel || !lines || !found.ok()) {
        skip(operation, size, goals::kListShown, QStringLiteral("archive list T1 missing"));
        return;
    }
    const QList<qint64>& rows = found.value().rows;
    bool shown = true;
    const Timing timing = Timing::measureTimed([&] {
        panel->setEntries({});
        WindowDriver::settle();
        QElapsedTimer timer;
        timer.start();
        if (found.value().paged)
            lines->setFirstPage(store, name, QString(), rows);
        else
            panel->setRows(rows);
        WindowDriver::painted(list->viewport());
        const double ms = elapsedMs(timer);
        shown = shown && rowsOf(list) == int(rows.size());
        return ms;
    });
    if (shown)
        add(operation + linesShown(found.value()), size, timing, goals::kListShown);
    else
        skip(operation, size, goals::kListShown, QStringLiteral("T1 does not list the entries"));
}

void WidgetBench::showRecord(QWidget* main, const BenchDataSet& data)
{
    const QString operation = QStringLiteral("show record: click in T1 → sheet painted");
    const Goal goal =
        data.records() == BenchDataSet::kLargeArchive ? goals::kSingleRecord : goals::kNone;
    auto* panel = WindowDriver::find<QWidget>(main, QStringLiteral("Frame3"));
    auto* list = WindowDriver::find<QAbstractItemView>(panel, QStringLiteral("T1"));
    auto* nameField = WindowDriver::find<QLineEdit>(main, QStringLiteral("Text4_0"));
    if (!list || !nameField || rowsOf(list) <= 0) {
        skip(operation, sizeOf(data), goal, QStringLiteral("archive list T1 empty or missing"));
        return;
    }
    // Lines spread over the list the last search left (one month).
    const int lines = rowsOf(list);
    int next = 0;
    bool shown = true;
    const Timing timing = Timing::measureTimed([&] {
        const QModelIndex line = list->model()->index(int((qint64(next++) * 7919) % lines), 0);
        list->scrollTo(line);
        WindowDriver::settle();
        const QPoint at = list->visualRect(line).center();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        WindowDriver::painted(nameField);
        const double ms = elapsedMs(timer);
        shown = shown && line.data().toString().startsWith(nameField->text() + QLatin1Char('['));
        return ms;
    });
    if (shown)
        add(operation, sizeOf(data), timing, goal);
    else
        skip(operation, sizeOf(data), goal, QStringLiteral("a click does not show the record"));
}

void WidgetBench::statistics(QWidget* main, const BenchDataSet& data, const BenchInputs& inputs)
{
    const bool largest = data.records() == BenchDataSet::kLargeArchive;
    WindowDriver::trigger(main, QStringLiteral("menuStatistics"));
    WindowDriver::settle();
    QWidget* window = WindowDriver::window(QStringLiteral("Form6"));
    const struct
    {
        QString operation;
        QString size;
        QStringList boxes;
        int firstBox;
        const char* button;
        const char* label;
        qint64 visits;
        Goal goal;
    } runs[] = {
        {QStringLiteral("day statistics (Command1 → Label4 painted)"),
         daySize(data, inputs),
         {BenchInputs::year(), BenchInputs::month(), BenchInputs::day()},
         0,
         "Command1",
         "Label4",
         inputs.dayVisits(),
         largest ? goals::kSingleRecord : goals::kNone},
        {QStringLiteral("month statistics (Command2 → Label7 painted)"),
         monthSize(data, inputs),
         {BenchInputs::year(), BenchInputs::month()},
         3,
         "Command2",
         "Label7",
         inputs.monthVisits(),
         largest ? goals::kMonthReport : goals::kNone},
    };
    for (const auto& run : runs) {
        auto* button = WindowDriver::find<QAbstractButton>(window, QString::fromUtf8(run.button));
        auto* label = WindowDriver::find<QLabel>(window, QString::fromUtf8(run.label));
        if (!button || !label) {
            skip(run.operation, run.size, run.goal,
                 QStringLiteral("statistics window not there yet"));
            continue;
        }
        setBoxes(window, run.boxes, run.firstBox);
        const QString expected = QStringLiteral("门诊处方数：%1张").arg(run.visits);
        bool counted = true;
        const Timing timing = Timing::measureTimed([&] {
            label->clear();
            WindowDriver::settle();
            QElapsedTimer timer;
            timer.start();
            WindowDriver::click(button);
            WindowDriver::painted(label);
            const double ms = elapsedMs(timer);
            counted = counted && label->text().startsWith(expected);
            return ms;
        });
        if (counted)
            add(run.operation, run.size, timing, run.goal);
        else
            skip(run.operation, run.size, run.goal, QStringLiteral("the count shown is wrong"));
    }
    WindowDriver::close(window);
}

void WidgetBench::clinicLog(QWidget* main, const BenchDataSet& data, const BenchInputs& inputs)
{
    const bool largest = data.records() == BenchDataSet::kLargeArchive;
    WindowDriver::trigger(main, QStringLiteral("menuClinicLog"));
    WindowDriver::settle();
    QWidget* window = WindowDriver::window(QStringLiteral("form12"));
    auto* grid = WindowDriver::find<QAbstractItemView>(window, QStringLiteral("MSFlexGrid1"));
    const struct
    {
        QString operation;
        QString size;
        QStringList boxes;
        int firstBox;
        const char* button;
        qint64 visits;
        Goal goal;
    } runs[] = {
        {QStringLiteral("day clinic log (Command1 → grid painted)"),
         daySize(data, inputs),
         {BenchInputs::year(), BenchInputs::month(), BenchInputs::day()},
         0,
         "Command1",
         inputs.dayVisits(),
         largest ? goals::kSingleRecord : goals::kNone},
        {QStringLiteral("month clinic log (Command2 → grid painted)"),
         monthSize(data, inputs),
         {BenchInputs::year(), BenchInputs::month()},
         3,
         "Command2",
         inputs.monthVisits(),
         largest ? goals::kMonthReport : goals::kNone},
    };
    for (const auto& run : runs) {
        auto* button = WindowDriver::find<QAbstractButton>(window, QString::fromUtf8(run.button));
        if (!button || !grid) {
            skip(run.operation, run.size, run.goal,
                 QStringLiteral("clinic log window not there yet"));
            continue;
        }
        setBoxes(window, run.boxes, run.firstBox);
        bool filled = true;
        const Timing timing = Timing::measureTimed([&] {
            QElapsedTimer timer;
            timer.start();
            WindowDriver::click(button);
            WindowDriver::painted(grid->viewport());
            const double ms = elapsedMs(timer);
            filled = filled && rowsOf(grid) == run.visits + 1;
            return ms;
        });
        if (filled)
            add(run.operation, run.size, timing, run.goal);
        else
            skip(run.operation, run.size, run.goal,
                 QStringLiteral("the grid does not hold the visits"));
    }
    WindowDriver::close(window);
}

// Each run starts a sheet, fills it and saves it; the records are removed again afterwards.
void WidgetBench::saving(QWidget* main, const BenchDataSet& data)
{
    const QString operation = QStringLiteral("save from the sheet (menuSave, synced, painted)");
    const QStringList texts = {QStringLiteral("张秀英"),
                               QStringLiteral("女"),
                               QStringLiteral("46"),
                               QString(),
                               QStringLiteral("急性上呼吸道感染"),
                               QStringLiteral("青石镇东山村三组")};
    RawSqlite raw(data.paths().archiveFile);
    const auto stored = [&raw] {
        return QString::fromStdString(raw.text("SELECT count(*) FROM [档案]")).toLongLong();
    };
    const qint64 before = stored();
    int saves = 0;
    const Timing timing = Timing::measureTimed(
        [&] {
            WindowDriver::trigger(main, QStringLiteral("menuNew"));
            WindowDriver::settle();
            for (int i = 0; i < int(texts.size()); ++i) {
                auto* field =
                    WindowDriver::find<QLineEdit>(main, QStringLiteral("Text4_%1").arg(i));
                if (field && !texts.at(i).isEmpty())
                    field->setText(texts.at(i));
            }
            WindowDriver::settle();
            QElapsedTimer timer;
            timer.start();
            WindowDriver::trigger(main, QStringLiteral("menuSave"));
            // The save closes the sheet and lists the record; the main window's own background
            // is not redrawn, so waiting for it would wait out the driver's second.
            WindowDriver::paintedWithin(main);
            const double ms = elapsedMs(timer);
            ++saves;
            return ms;
        },
        10, 60, 1500, 2);
    const bool savedAll = stored() == before + saves;
    raw.run("DELETE FROM [档案] WHERE rowid > ?", {std::int64_t(data.records())});
    if (savedAll)
        add(operation, sizeOf(data), timing, goals::kSave);
    else
        skip(operation, sizeOf(data), goals::kSave,
             QStringLiteral("saving did not store the records"));
}

void WidgetBench::startup(const BenchDataSet& data)
{
    const struct
    {
        QString operation;
        QDateTime now;
        int runs;
        Goal goal;
    } days[] = {
        {QStringLiteral("start-up to main window painted, normal day"), kNormalDay, kStartRuns,
         goals::kStartup},
        {QStringLiteral("start-up to main window painted, backup day (stores copied)"), kBackupDay,
         kBackupStartRuns, goals::kBackupDayStartup},
    };
    for (const auto& day : days) {
        QList<double> samples;
        bool opened = true;
        for (int run = 0; run < day.runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            std::unique_ptr<QWidget> main = start(data, day.now);
            samples.append(elapsedMs(timer));
            opened = opened && main && main->objectName() == u"Form1" && main->isVisible();
            stop(main, data);
        }
        if (opened)
            add(day.operation, sizeOf(data), Timing::of(samples), day.goal);
        else
            skip(day.operation, sizeOf(data), day.goal, QStringLiteral("main window did not open"));
    }
    firstSearch(data);
    processStartup(data);
}

} // namespace quilloa::bench

namespace quilloa::bench {

// The first search after a start: the stores opened anew, as a new process finds them, and the
// search clicked as soon as a hand could after the window was painted.
void WidgetBench::firstSearch(const BenchDataSet& data)
{
    const QString operation =
        QStringLiteral("first archive search after start-up, one character 王 (Command2 → T1 "
                       "painted)");
    QList<double> samples;
    for (int run = 0; run < kStartRuns; ++run) {
        StoreConnection::closeAll();
        std::unique_ptr<QWidget> main = start(data, kNormalDay);
        auto* panel = WindowDriver::find<ArchivePanel>(main.get(), QStringLiteral("Frame3"));
        auto* name = WindowDriver::find<QLineEdit>(panel, QStringLiteral("Text2"));
        auto* button = WindowDriver::find<QAbstractButton>(panel, QStringLiteral("Command2"));
        auto* list = WindowDriver::find<QAbstractItemView>(panel, QStringLiteral("T1"));
        if (!name || !button || !list) {
            stop(main, data);
            skip(operation, sizeOf(data), goals::kFirstSearch,
                 QStringLiteral("search box, button or list missing"));
            return;
        }
        QTest::qWait(kReachMs);
        name->setText(QStringLiteral("王"));
        QElapsedTimer timer;
        timer.start();
        WindowDriver::click(button);
        const bool painted = WindowDriver::painted(list->viewport());
        samples.append(elapsedMs(timer));
        const bool filled = rowsOf(list) > ArchivePanel::kOpeningCap;
        stop(main, data);
        if (!painted || !filled) {
            skip(operation, sizeOf(data), goals::kFirstSearch,
                 QStringLiteral("T1 does not list what was found"));
            return;
        }
    }
    add(operation, sizeOf(data), Timing::of(samples), goals::kFirstSearch);
}

// A new process of the program until its main window has been painted (it says so on its
// output when started with --quit-after-start), beside a plain sqlite3 process opening the
// same archive. The backup day is made with faketime, as the program reads the system clock.
void WidgetBench::processStartup(const BenchDataSet& data)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../quilloa");
    const QStringList arguments = {QStringLiteral("--data"), data.programFolder(),
                                   QStringLiteral("--quit-after-start")};
    const struct
    {
        QString operation;
        QString clock; // for faketime; empty: the real one
        Goal goal;
    } days[] = {
        {QStringLiteral("process start-up to main window painted, normal day"), QString(),
         goals::kStartup},
        {QStringLiteral("process start-up to main window painted, backup day"),
         QStringLiteral("@2019-12-20 09:30:00"), goals::kBackupDayStartup},
    };
    for (const auto& day : days) {
        QList<double> samples;
        QString failure;
        for (int run = 0; run < kBackupStartRuns && failure.isEmpty(); ++run) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            environment.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
            process.setProcessEnvironment(environment);
            if (day.clock.isEmpty())
                process.setProgram(program);
            else
                process.setProgram(QStringLiteral("faketime"));
            process.setArguments(day.clock.isEmpty()
                                     ? arguments
                                     : QStringList{QStringLiteral("-f"), day.clock, program} +
                                           arguments);
            QElapsedTimer timer;
            timer.start();
            process.start();
            QByteArray output;
            while (!output.contains("painted") && timer.elapsed() < kProcessWaitMs &&
                   process.waitForReadyRead(kProcessWaitMs))
                output += process.readAllStandardOutput();
            const double ms = elapsedMs(timer);
            const bool ended = process.waitForFinished(kProcessWaitMs);
            if (!output.contains("painted") || !ended || process.exitCode() != 0)
                failure = QStringLiteral("the program did not paint its window and end (%1)")
                              .arg(process.errorString());
            samples.append(ms);
            QDir(data.paths().backupFolder).removeRecursively();
        }
        if (failure.isEmpty())
            add(day.operation, sizeOf(data), Timing::of(samples), day.goal);
        else
            skip(day.operation, sizeOf(data), day.goal, failure);
    }

    const QString plain = QStringLiteral("plain sqlite3 process opening the archive (reference)");
    QList<double> samples;
    for (int run = 0; run < kStartRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const int code =
            QProcess::execute(QStringLiteral("sqlite3"),
                              {data.paths().archiveFile, QStringLiteral("PRAGMA schema_version;")});
        samples.append(elapsedMs(timer));
        if (code != 0) {
            skip(plain, sizeOf(data), goals::kNone, QStringLiteral("sqlite3 did not run"));
            return;
        }
    }
    add(plain, sizeOf(data), Timing::of(samples), goals::kNone);
}

} // namespace quilloa::bench
