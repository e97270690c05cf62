#include "core/entry/SheetGeometry.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "support/ListLines.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "ui/entry/LookupList.h"
#include "ui/maintenance/ReferenceWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

using namespace quilloa;
using quilloa::test::ListLines;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

// The doctor keeps a Chinese input method on: initials arrive as compositions and commits,
// never as key presses, and the lookups must serve them as they serve typed keys.
class TestInputMethodLookups : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    QLineEdit* box(const QString& name) const { return m_window.find<QLineEdit>(name); }
    LookupList* list(const char* name) const
    {
        return m_window.find<LookupList>(QLatin1String(name));
    }
    QStringList drugs() const
    {
        return ListLines(m_window.find<QListWidget>(QStringLiteral("List1"))).texts();
    }

private slots:
    void init()
    {
        makeFolder();
        SettingsStore store = m_folder->context().settings();
        test::setUp(store.add(ReferenceList::Diagnoses, QStringLiteral("高血压病"),
                              QStringLiteral("gxyb")));
        test::setUp(
            store.add(ReferenceList::Diagnoses, QStringLiteral("高血脂"), QStringLiteral("gxz")));
        test::setUp(store.add(ReferenceList::Diagnoses, QStringLiteral("原发性高血压"),
                              QStringLiteral("yfxgxy")));
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("城东"), QStringLiteral("cd")));
        test::setUp(store.add(ReferenceList::Drugs, QStringLiteral("阿莫西林胶囊/口服"),
                              QStringLiteral("amxljn")));
        test::setUp(
            store.add(ReferenceList::Drugs, QStringLiteral("阿奇霉素片"), QStringLiteral("aqmsp")));
        QVERIFY(m_window.open(m_folder->context()));
        m_window->newPrescription();
    }

    void cleanup() { dropWindowAndFolder(); }

    // Letters being composed filter the list; a committed word finds the names holding it; a
    // composition left open by moving on is committed without its spaces, closes its list and
    // is stored as letters.
    void sheetLookupsServeCompositions()
    {
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        UserInput::compose(diagnosis, QStringLiteral("g x"));
        QCOMPARE(ListLines(list("list2")).texts(), QStringList({"高血压病", "高血脂"}));
        UserInput::compose(diagnosis, QStringLiteral("g x y"));
        QCOMPARE(ListLines(list("list2")).texts(), QStringList({"高血压病"}));
        QVERIFY(diagnosis->text().isEmpty());
        UserInput::commit(diagnosis, QStringLiteral("高血压"));
        QVERIFY(list("list2")->isVisible());
        QCOMPARE(ListLines(list("list2")).texts(), QStringList({"高血压病", "原发性高血压"}));
        QTest::keyClick(diagnosis, Qt::Key_Down);
        QTest::keyClick(list("list2"), Qt::Key_Return);
        QCOMPARE(diagnosis->text(), QStringLiteral("高血压病"));

        // The input method commits what it showed only once the focus has moved on.
        QLineEdit* address = field(sheet::AddressField);
        QVERIFY(UserInput::focus(address, Qt::TabFocusReason));
        UserInput::compose(address, QStringLiteral("c d"));
        QVERIFY(list("list5")->isVisible());
        QVERIFY(UserInput::focus(field(sheet::DoctorField), Qt::TabFocusReason));
        UserInput::commit(address, QStringLiteral("c d"));
        QCOMPARE(address->text(), QStringLiteral("cd"));
        QVERIFY(!list("list5")->isVisible());

        QVERIFY(m_window->savePrescription());
        ArchiveStore archive(m_folder->paths().archiveFile);
        const auto entries = archive.firstEntries(1);
        QVERIFY(entries.ok() && entries.value().size() == 1);
        const PrescriptionRecord stored = *archive.recordAt(entries.value().first().rowId).value();
        QCOMPARE(stored.diagnosis, QStringLiteral("高血压病"));
        QCOMPARE(stored.address, QStringLiteral("cd"));
    }

    // Enter that ends a composition moves on once, as Enter does without an input method; an
    // Enter after a commit is an ordinary Enter and moves on once as well.
    void enterEndingACompositionMovesOn()
    {
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        UserInput::compose(diagnosis, QStringLiteral("g x y"));
        UserInput::enterTakenByInputMethod(diagnosis, QStringLiteral("gxy"));
        QCOMPARE(diagnosis->text(), QStringLiteral("gxy"));
        QCOMPARE(QApplication::focusWidget(), field(sheet::AddressField));

        QLineEdit* address = field(sheet::AddressField);
        UserInput::commit(address, QStringLiteral("城"));
        QTest::keyClick(address, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), box(QStringLiteral("Text1")));
    }

    // The drug search box and a list window's search box filter alike.
    void searchBoxesServeCompositions()
    {
        QLineEdit* search = box(QStringLiteral("Text1"));
        QVERIFY(UserInput::focus(search, Qt::TabFocusReason));
        UserInput::compose(search, QStringLiteral("a m"));
        QCOMPARE(drugs(), QStringList({"阿莫西林胶囊/口服"}));
        UserInput::commit(search, QStringLiteral("霉素"));
        QCOMPARE(drugs(), QStringList({"阿奇霉素片"}));
        search->clear();
        QVERIFY(UserInput::focus(field(sheet::NameField), Qt::TabFocusReason));
        UserInput::commit(search, QStringLiteral("a q"));
        QCOMPARE(search->text(), QStringLiteral("aq"));

        quilloa::test::WindowProbe<ReferenceWindow> diagnoses;
        QVERIFY(diagnoses.open(m_folder->context(), ReferenceList::Diagnoses));
        auto* lines = diagnoses.find<QAbstractItemView>(QStringLiteral("List1"));
        auto* query = diagnoses.find<QLineEdit>(QStringLiteral("Text1"));
        UserInput::compose(query, QStringLiteral("g x"));
        QCOMPARE(ListLines(lines).texts(), QStringList({"高血压病", "高血脂"}));
        UserInput::commit(query, QStringLiteral("高血压"));
        QCOMPARE(ListLines(lines).texts(), QStringList({"高血压病", "原发性高血压"}));
    }
};

QTEST_MAIN(TestInputMethodLookups)
#include "TestInputMethodLookups.moc"
