// Renders the checked-in PNGs of the program icon and the menu pictures from their SVG sources.
// Run through scripts/render-icons after editing an SVG.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool Render(const QDir& folder, const QString& svg, const QString& png, int size) {
    QSvgRenderer renderer(folder.filePath(svg));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(svg));
        return false;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources/icons folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        ok &= Render(folder, "vantrel.svg", QString("vantrel-%1.png").arg(size), size);
    }
    for (const char* name :
         {"menu-options", "menu-information", "menu-updates", "menu-donation", "menu-licence",
          "menu-exit"}) {
        const QString base = QString::fromLatin1(name);
        ok &= Render(folder, base + ".svg", base + ".png", 13);
        ok &= Render(folder, base + ".svg", base + "@2x.png", 26);
    }
    return ok ? 0 : 1;
}
