#include "ui/Look.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>
#include <map>
#include <utility>

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

// The program icon's sizes, each decoded from its PNG only when first drawn: a tray icon needs
// one or two of the eight, and the largest alone takes 256 KiB decoded.
class PngSizesEngine final : public QIconEngine {
  public:
    // The pictures ":/icons/<base>-<size>.png" for each size, drawn as `shown` where the
    // normal look is asked for (Disabled: always greyed).
    PngSizesEngine(QString base, QList<int> sizes, QIcon::Mode shown = QIcon::Normal)
        : base_(std::move(base)), sizes_(std::move(sizes)), shown_(shown) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio =
            painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1);
    }
    // `size` in device pixels (Qt 6.4's QIcon::pixmap asks so and sets the ratio itself). Like
    // Qt's own engine: the smallest picture at least as large, else the largest, shrunk to fit,
    // never enlarged.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
        if (mode == QIcon::Normal) mode = shown_;
        QPixmap picture = Decoded(BestSide(std::max(size.width(), size.height())));
        if (picture.width() > size.width() || picture.height() > size.height())
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && QApplication::style() != nullptr) {
            QStyleOption option;
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        return picture;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(
            {size.width(), size.height(), BestSide(std::max(size.width(), size.height()))});
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> result;
        for (const int side : sizes_) result.push_back({side, side});
        return result;
    }
    QIconEngine* clone() const override { return new PngSizesEngine(*this); }
    QString key() const override { return QStringLiteral("VantrelPngSizes"); }
    bool isNull() override { return sizes_.isEmpty(); }

  private:
    int BestSide(int wanted) const {
        for (const int side : sizes_)
            if (side >= wanted) return side;
        return sizes_.back();
    }
    QPixmap Decoded(int side) {
        QPixmap& picture = decoded_[side];
        if (picture.isNull())
            picture = Png(QStringLiteral(":/icons/%1-%2.png").arg(base_).arg(side));
        return picture;
    }

    QString base_;
    QList<int> sizes_;  // ascending
    QIcon::Mode shown_;
    std::map<int, QPixmap> decoded_;
};

}  // namespace

void InitResources() {
    InitResourcesOnce();
}

QIcon ProgramIcon() {
    return TrayStateIcon(TrayState::Normal);
}

QIcon TrayStateIcon(TrayState state) {
    InitResources();
    const char* base = "vantrel";
    QIcon::Mode shown = QIcon::Normal;
    switch (state) {
        case TrayState::Normal:
            break;
        case TrayState::Paused:
            base = "tray-paused";
            break;
        case TrayState::WaitingForJoystick:
            shown = QIcon::Disabled;
            break;
    }
    // The icon owns the engine.
    return QIcon(
        new PngSizesEngine(QString::fromLatin1(base), {16, 22, 24, 32, 48, 64, 128, 256}, shown));
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

void ForgetControlPicturesWith(QWidget* window) {
    // Cleared while another window is open, the cache only fills again as it draws.
    QObject::connect(window, &QObject::destroyed, [] { QPixmapCache::clear(); });
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
