// Renders the checked-in PNGs of the program icon, the menu pictures and the window pictures
// from their SVG sources. Run through scripts/render-icons after editing an SVG.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool Render(const QDir& folder, const QString& svg, const QString& png, QSize size) {
    QSvgRenderer renderer(folder.filePath(svg));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(svg));
        return false;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QImageWriter writer(folder.filePath(png), "png");
    writer.setQuality(0);  // smallest file
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(png));
        return false;
    }
    return true;
}

// <base>.png at the SVG's own size and <base>@2x.png at twice that, for the windows' pictures:
// their boxes are laid out at the SVG's size.
bool RenderPicture(const QDir& folder, const QString& base) {
    const QSize size = QSvgRenderer(folder.filePath(base + ".svg")).defaultSize();
    return Render(folder, base + ".svg", base + ".png", size) &&
           Render(folder, base + ".svg", base + "@2x.png", size * 2);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // the maker's logo has text, which needs fonts
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    const QDir icons(resources.filePath(QStringLiteral("icons")));
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        for (const char* icon : {"vantrel", "tray-paused"}) {
            const QString base = QString::fromLatin1(icon);
            ok &= Render(icons, base + ".svg", QString("%1-%2.png").arg(base).arg(size),
                         QSize(size, size));
        }
    }
    for (const char* name : {"menu-options", "menu-information", "menu-updates", "menu-donation",
                             "menu-licence", "menu-exit"}) {
        const QString base = QString::fromLatin1(name);
        ok &= Render(icons, base + ".svg", base + ".png", QSize(13, 13));
        ok &= Render(icons, base + ".svg", base + "@2x.png", QSize(26, 26));
    }
    for (const char* picture : {"options/Logo", "info/title-sun", "info/maker-logo"}) {
        ok &= RenderPicture(resources, QString::fromLatin1(picture));
    }
    return ok ? 0 : 1;
}
