#include "ui/mainwindow/AboutWindow.h"

#include "ui/common/ChineseFaces.h"
#include "ui/common/ScreenPlacement.h"

#include <QDir>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quilloa {

AboutWindow::AboutWindow(const StorePaths& paths, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("关于"));
    setFont(ChineseFaces::font(u"宋体", 9));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(48, 48));

    auto* name = new QLabel(QStringLiteral("Quilloa V2.0"), this);
    name->setObjectName(QStringLiteral("Label1"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    name->setFont(big);
    auto* purpose = new QLabel(QStringLiteral("门诊处方管理：书写、保存、查找和打印处方，\n"
                                              "统计工作量，登记门诊日志。"),
                               this);
    purpose->setObjectName(QStringLiteral("Label2"));
    // Tells the clinic where its prescriptions are, e.g. to copy them onto another disk. The
    // data folder is the one --data names and --help shows; the stores are in its 数据库.
    auto* folders = new QLabel(QStringLiteral("数据文件夹：%1\n数据库文件夹：%2\n备份文件夹：%3")
                                   .arg(QDir::toNativeSeparators(paths.programFolder),
                                        QDir::toNativeSeparators(paths.dataFolder),
                                        QDir::toNativeSeparators(paths.backupFolder)),
                               this);
    folders->setObjectName(QStringLiteral("Label3"));
    folders->setTextFormat(Qt::PlainText);
    folders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(purpose);
    text->addWidget(folders);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    ScreenPlacement::centreOnScreen(this);
}

} // namespace quilloa
