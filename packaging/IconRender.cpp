// Renders the program's SVG icon into the PNG sizes of the hicolor icon theme at build time,
// so the installed icons always match the icon the windows show.
// Usage: quilloa_icon_render <icon.svg> <output folder> <icon name> <size>...

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool renderSize(QSvgRenderer& renderer, const QString& folder, const QString& name, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString target = folder + QStringLiteral("/%1/%2.png").arg(size).arg(name);
    return QDir().mkpath(folder + QStringLiteral("/%1").arg(size)) && image.save(target, "PNG");
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 5) {
        std::fputs("usage: quilloa_icon_render <icon.svg> <folder> <name> <size>...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    for (const QString& size : arguments.mid(4)) {
        if (!renderSize(renderer, arguments.at(2), arguments.at(3), size.toInt())) {
            std::fprintf(stderr, "cannot write the %s pixel icon\n", qPrintable(size));
            return 1;
        }
    }
    return 0;
}
