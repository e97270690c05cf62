#include "core/records/StoredNames.h"

#include <QTest>

using namespace quilloa;

class TestStoredNames : public QObject
{
    Q_OBJECT
private slots:
    // Empty names first, between and last must keep their place, or every later line would
    // show its neighbour's name.
    void eachLineGivesItsOwnName()
    {
        const QStringList names = {QString(),           QStringLiteral("青石镇东山村三组"),
                                   QString(),           QStringLiteral("𠀀屯"),
                                   QStringLiteral("A"), QString()};
        StoredNames stored;
        QVERIFY(stored.isEmpty());
        for (const QString& name : names)
            stored.append(name.toUtf8());
        QCOMPARE(stored.size(), names.size());
        for (qsizetype line = 0; line < names.size(); ++line)
            QCOMPARE(stored.at(line), names.at(line));
        QCOMPARE(stored.toStringList(), names);
    }
};

QTEST_GUILESS_MAIN(TestStoredNames)
#include "TestStoredNames.moc"
