#include "core/startup/LoginCheck.h"

#include <QTest>

using namespace quilloa;

class TestLoginCheck : public QObject
{
    Q_OBJECT
private slots:
    void caseAndSurroundingBlanksDoNotCount_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same") << "Abc9"
                              << "Abc9" << true;
        QTest::newRow("other case") << "aBC9"
                                    << "Abc9" << true;
        QTest::newRow("blanks typed") << "  abc9 "
                                      << "Abc9" << true;
        QTest::newRow("blanks stored") << "abc9"
                                       << " ABC9  " << true;
        QTest::newRow("inner blank counts") << "ab c9"
                                            << "abc9" << false;
        QTest::newRow("wrong") << "abd9"
                               << "abc9" << false;
        QTest::newRow("empty typed") << ""
                                     << "abc9" << false;
        QTest::newRow("blanks typed only") << "   "
                                           << "abc9" << false;
        QTest::newRow("prefix") << "abc"
                                << "abc9" << false;
        QTest::newRow("chinese") << " 密码 "
                                 << "密码" << true;
    }

    void caseAndSurroundingBlanksDoNotCount()
    {
        QFETCH(QString, typed);
        QFETCH(QString, password);
        QTEST(LoginCheck::accepts(typed, password), "accepted");
    }
};

QTEST_GUILESS_MAIN(TestLoginCheck)
#include "TestLoginCheck.moc"
