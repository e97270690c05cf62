#include "ui/common/CachedCellDelegate.h"
#include "ui/startup/FontSetup.h"

#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace quilloa;

namespace {

// A small register drawn by the given delegate: short texts, one too long for its column, and
// one chosen cell.
struct Grid
{
    QStandardItemModel model{3, 3};
    QTableView view;

    explicit Grid(QAbstractItemDelegate* (*delegate)(QObject*))
    {
        const QStringList texts = {
            "王秀英",           "女", "46",    "急性上呼吸道感染伴发热咳嗽三天", "男", "8",
            "青石镇东山村三组", "",   "11个月"};
        for (int i = 0; i < int(texts.size()); ++i)
            model.setItem(i / 3, i % 3, new QStandardItem(texts.at(i)));
        view.setFont(QFont(QStringLiteral("宋体"), 9));
        view.setModel(&model);
        view.setItemDelegate(delegate(&view));
        view.verticalHeader()->setDefaultSectionSize(17);
        view.horizontalHeader()->setMinimumSectionSize(20);
        for (int column = 0; column < 3; ++column)
            view.setColumnWidth(column, 60 + 20 * column);
        view.resize(320, 120);
        view.setCurrentIndex(model.index(1, 1));
        view.show();
    }
    QImage picture() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QAbstractItemDelegate* styled(QObject* parent)
{
    return new ElidedCellTips(parent);
}

QAbstractItemDelegate* cached(QObject* parent)
{
    return new CachedCellDelegate(parent);
}

} // namespace

class TestCachedCellDelegate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { FontSetup::install(); }

    // The kept pictures show exactly what the style would draw, also once a text or the chosen
    // cell changed after they were made.
    void drawsWhatTheStyleDraws()
    {
        Grid style(styled);
        Grid pictures(cached);
        QVERIFY(QTest::qWaitForWindowExposed(&pictures.view));
        QCOMPARE(pictures.picture(), style.picture());
        for (Grid* grid : {&style, &pictures}) {
            grid->model.item(0, 0)->setText(QStringLiteral("李春华"));
            grid->view.setCurrentIndex(grid->model.index(2, 2));
        }
        QCOMPARE(pictures.picture(), style.picture());
    }
};

QTEST_MAIN(TestCachedCellDelegate)
#include "TestCachedCellDelegate.moc"
