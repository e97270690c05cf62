#include "ui/startup/SmokeRun.h"

#include "ui/mainwindow/MainWindow.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>

namespace quilloa {

namespace {

const QString kPatient = QStringLiteral("冒烟测试");

bool fail(const char* step)
{
    std::fprintf(stderr, "smoke run: %s\n", step);
    return false;
}

template <typename T> T* named(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

bool storesExist(const QString& dataFolder)
{
    const QDir stores(QDir(dataFolder).filePath(QStringLiteral("数据库")));
    return QFileInfo::exists(stores.filePath(QStringLiteral("档案.dat"))) &&
           QFileInfo::exists(stores.filePath(QStringLiteral("设置.dat")));
}

bool saveThroughMenu(QWidget* window)
{
    auto* main = qobject_cast<MainWindow*>(window);
    auto* newSheet = named<QAction>(window, "menuNew");
    auto* save = named<QAction>(window, "menuSave");
    if (!main || !newSheet || !save)
        return fail("main window without its menu");
    newSheet->trigger();
    const QStringList texts = {kPatient,  QStringLiteral("男"),       QStringLiteral("45"),
                               QString(), QStringLiteral("急性胃炎"), QStringLiteral("城东 二组")};
    for (int i = 0; i < texts.size(); ++i) {
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("Text4_%1").arg(i));
        if (!field)
            return fail("sheet field missing");
        if (!texts.at(i).isEmpty())
            field->setText(texts.at(i));
    }
    main->body()->setPlainText(QStringLiteral("阿莫西林胶囊 0.25g×24"));
    if (!save->isEnabled())
        return fail("save is off after a new sheet");
    save->trigger();
    return true;
}

bool findAgain(QWidget* window)
{
    auto* nameBox = named<QLineEdit>(window, "Text2");
    auto* search = named<QPushButton>(window, "Command2");
    auto* list = named<QAbstractItemView>(window, "T1");
    if (!nameBox || !search || !list || !list->model())
        return fail("archive panel missing");
    nameBox->setText(kPatient);
    search->click();
    const QAbstractItemModel* found = list->model();
    if (found->rowCount() < 1 ||
        !found->index(0, 0).data().toString().startsWith(kPatient + QLatin1Char('[')))
        return fail("the saved prescription was not found");
    return true;
}

} // namespace

bool SmokeRun::requested()
{
    return qEnvironmentVariableIntValue("QUILLOA_SMOKE_RUN") == 1;
}

void SmokeRun::start(QWidget* window, const QString& dataFolder)
{
    // A modal message would wait for a click that never comes: the run gives up instead.
    QTimer::singleShot(120'000, qApp, [] {
        fail("timed out");
        QCoreApplication::exit(3);
    });
    QTimer::singleShot(0, window, [window, dataFolder] {
        const bool passed = (storesExist(dataFolder) || fail("stores not made")) &&
                            saveThroughMenu(window) && findAgain(window);
        if (passed)
            std::fprintf(stderr, "smoke run: saved and found in %s\n",
                         QDir::toNativeSeparators(dataFolder).toLocal8Bit().constData());
        QCoreApplication::exit(passed ? 0 : 2);
    });
}

} // namespace quilloa
