#include "ui/Look.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWidget>

// Q_INIT_RESOURCE declares a function of the global namespace, so it cannot be used inside one.
static void InitResourcesOnce() {
    static const bool done = [] {
        Q_INIT_RESOURCE(vantrel);
        return true;
    }();
    static_cast<void>(done);
}

namespace vantrel {

namespace {

// Pictures are read as PNG by name: left to guess, QIcon::addFile and QImage load every
// image-format plugin there is (SVG and Qt Svg among them, megabytes at start-up) to ask each
// whether it knows the file. An "@2x" file comes out marked as such.
QImage PngImage(const QString& path) {
    QImageReader reader(path, "PNG");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap Png(const QString& path) {
    return QPixmap::fromImage(PngImage(path));
}

}  // namespace

void InitResources() {
    InitResourcesOnce();
}

QIcon ProgramIcon() {
    InitResources();
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Png(QStringLiteral(":/icons/vantrel-%1.png").arg(size)));
    return icon;
}

QIcon MenuPictureIcon(MenuPicture picture) {
    InitResources();
    const char* name = nullptr;
    switch (picture) {
        case MenuPicture::None:
            return QIcon();
        case MenuPicture::Options:
            name = "options";
            break;
        case MenuPicture::Information:
            name = "information";
            break;
        case MenuPicture::Updates:
            name = "updates";
            break;
        case MenuPicture::Donation:
            name = "donation";
            break;
        case MenuPicture::License:
            name = "licence";
            break;
        case MenuPicture::Exit:
            name = "exit";
            break;
    }
    if (name == nullptr) return QIcon();
    // The 13-pixel picture and its "@2x" partner for screens at twice the density.
    const QString base = QStringLiteral(":/icons/menu-%1").arg(QLatin1String(name));
    QIcon icon;
    for (const QString& file : {base + QStringLiteral(".png"), base + QStringLiteral("@2x.png")}) {
        const QPixmap picture = Png(file);
        if (!picture.isNull()) icon.addPixmap(picture);
    }
    return icon;
}

QPixmap RenderPicture(const char* resource, QSize box, qreal pixelRatio, PictureFit fit) {
    InitResources();
    const QSize target = box * pixelRatio;
    QPixmap picture(target);
    picture.fill(Qt::transparent);
    const QString name = QString::fromLatin1(resource);
    QImage image =
        PngImage(pixelRatio > 1 ? name + QStringLiteral("@2x.png") : name + QStringLiteral(".png"));
    if (!image.isNull()) {
        // Qt marks an "@2x" file as 2x; here it is drawn pixel for pixel into the picture.
        image.setDevicePixelRatio(1);
        const QSize fitted = image.size().scaled(
            target, fit == PictureFit::Fill ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio);
        if (image.size() != fitted) {
            image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        QPainter painter(&picture);
        painter.drawImage((target.width() - fitted.width()) / 2,
                          (target.height() - fitted.height()) / 2, image);
    }
    picture.setDevicePixelRatio(pixelRatio);
    return picture;
}

double TextScale() {
    // Desktops ship 9 to 11 points; only a font the user made larger than that enlarges.
    constexpr double kUsualPoints = 11.0;
    const double points = QGuiApplication::font().pointSizeF();
    return points > kUsualPoints ? points / kUsualPoints : 1.0;
}

QFont LookFont(const char* family, qreal points, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points * TextScale());
    font.setBold(bold);
    return font;
}

void MakeWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

namespace {

const QScreen* ScreenOf(const QWidget& widget) {
    return widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
}

}  // namespace

double DotsPerInchX(const QWidget& widget) {
    const QScreen* shown = ScreenOf(widget);
    return (shown ? shown->logicalDotsPerInchX() : 96.0) * TextScale();
}

double DotsPerInchY(const QWidget& widget) {
    const QScreen* shown = ScreenOf(widget);
    return (shown ? shown->logicalDotsPerInchY() : 96.0) * TextScale();
}

}  // namespace vantrel
