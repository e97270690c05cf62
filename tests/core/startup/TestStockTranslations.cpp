#include "core/startup/StockTranslations.h"

#include <QTest>

using namespace quilloa;

class TestStockTranslations : public QObject
{
    Q_OBJECT
private slots:
    // The stock buttons and the print dialog take their texts from these contexts.
    void stockTextsBecomeChinese()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QVERIFY(StockTranslations::install());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
        QVERIFY(QCoreApplication::translate("QPlatformTheme", "OK") != QStringLiteral("OK"));
        QVERIFY(QCoreApplication::translate("QPrintDialog", "Print") != QStringLiteral("Print"));
    }
};

QTEST_GUILESS_MAIN(TestStockTranslations)
#include "TestStockTranslations.moc"
