// The program icon, the menu pictures and the windows' pictures: present in the resources, the
// right sizes, and the checked-in PNGs still rendered from the current SVG sources.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include "ui/Look.h"

namespace vantrel {
namespace {

// The program icon, and the tray's picture in each state, with the files it is drawn from.
TEST(Artwork, ProgramAndTrayIconsAtTheUsualSizes) {
    for (const auto& [icon, base] : {std::pair{ProgramIcon(), "vantrel"},
                                     std::pair{TrayStateIcon(TrayState::Normal), "vantrel"},
                                     std::pair{TrayStateIcon(TrayState::Paused), "tray-paused"}}) {
        ASSERT_FALSE(icon.isNull());
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            SCOPED_TRACE(std::string(base) + " " + std::to_string(size));
            EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
            const QImage image = icon.pixmap(size, size).toImage();
            EXPECT_EQ(image.size(), QSize(size, size));
            const QImage file(QStringLiteral(":/icons/%1-%2.png").arg(base).arg(size));
            EXPECT_EQ(image, file.convertToFormat(image.format())) << "not the picture of its size";
            // Not blank: some pixels opaque, some clear.
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) opaque += qAlpha(image.pixel(x, y)) == 255;
            EXPECT_GT(opaque, size * size / 5);
            EXPECT_LT(opaque, size * size);
        }
    }
}

TEST(Artwork, ProgramIconBetweenSizesAndAtTwiceTheDensity) {
    const QIcon icon = ProgramIcon();
    EXPECT_EQ(icon.pixmap(40, 40).size(), QSize(40, 40));  // the 48 shrunk, never the 32 enlarged
    EXPECT_EQ(icon.actualSize(QSize(512, 512)), QSize(256, 256));
    const QPixmap sharp = icon.pixmap(QSize(22, 22), 2.0);
    EXPECT_EQ(sharp.size(), QSize(44, 44));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
}

TEST(Artwork, SixDifferentMenuPicturesOfThirteenPixels) {
    EXPECT_TRUE(MenuPictureIcon(MenuPicture::None).isNull());
    QList<QImage> seen;
    for (const MenuPicture p :
         {MenuPicture::Options, MenuPicture::Information, MenuPicture::Updates,
          MenuPicture::Donation, MenuPicture::License, MenuPicture::Exit}) {
        const QImage image = MenuPictureIcon(p).pixmap(13, 13).toImage();
        EXPECT_EQ(image.size(), QSize(13, 13));
        EXPECT_FALSE(seen.contains(image)) << "two pictures alike";
        seen.push_back(image);
    }
}

// Largest difference of any channel between two images of one size.
int MaxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

// The SVG drawn at `scale` times its own size, or at `edge` x `edge` pixels when given.
QImage RenderSvg(const QString& path, int scale, int edge = 0) {
    QSvgRenderer svg(path);
    EXPECT_TRUE(svg.isValid()) << path.toStdString();
    const QSize size = edge > 0 ? QSize(edge, edge) : svg.defaultSize() * scale;
    QImage rendered(size, QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    svg.render(&painter);
    painter.end();
    return rendered.convertToFormat(QImage::Format_ARGB32);
}

TEST(Artwork, CheckedInPngsMatchTheirSvgSources) {
    // vantrel-<size>.png, tray-paused-<size>.png, menu-<name>.png (13) and menu-<name>@2x.png (26),
    // run scripts/render-icons after editing an SVG.
    const QDir folder(QStringLiteral(VANTREL_SOURCE_DIR "/resources/icons"));
    const QRegularExpression name(QStringLiteral(R"(^(.+?)(?:-(\d+)|(@2x))?\.png$)"));
    const QStringList pngs = folder.entryList({QStringLiteral("*.png")}, QDir::Files);
    ASSERT_EQ(pngs.size(), 8 + 8 + 12);
    for (const QString& png : pngs) {
        SCOPED_TRACE(png.toStdString());
        const auto match = name.match(png);
        ASSERT_TRUE(match.hasMatch());
        QString base = match.captured(1);
        int size = 13;
        if (!match.captured(2).isEmpty()) {
            size = match.captured(2).toInt();
        } else if (!match.captured(3).isEmpty()) {
            size = 26;
        }
        const QImage stored = QImage(folder.filePath(png)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(stored.size(), QSize(size, size));
        EXPECT_LE(MaxDifference(stored, RenderSvg(folder.filePath(base + ".svg"), 1, size)), 8);
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/") + png)) << "missing from vantrel.qrc";
    }
}

struct WindowPicture {
    const char* svg;       // under resources/
    const char* resource;  // as the windows ask for it
};

class WindowPictures : public ::testing::TestWithParam<std::tuple<WindowPicture, int>> {};

// What a window shows in a box of the SVG's own size, at 1x and 2x: the SVG as it was drawn
// before the program stopped rendering SVG itself.
TEST_P(WindowPictures, ShownAsTheirSvgSourceWasDrawn) {
    const auto& [picture, scale] = GetParam();
    const QString svg = QStringLiteral(VANTREL_SOURCE_DIR "/resources/") + picture.svg;
    const QSize box = QSvgRenderer(svg).defaultSize();
    const QImage shown = RenderPicture(picture.resource, box, scale, PictureFit::KeepAspect)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32);
    const QImage expected = RenderSvg(svg, scale);
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_LE(MaxDifference(shown, expected), 8);
}

INSTANTIATE_TEST_SUITE_P(
    Artwork, WindowPictures,
    ::testing::Combine(::testing::Values(WindowPicture{"options/Logo.svg", kOptionsPicture},
                                         WindowPicture{"info/title-sun.svg", kAboutTitlePicture},
                                         WindowPicture{"info/maker-logo.svg", kMakerLogo}),
                       ::testing::Values(1, 2)),
    [](const auto& info) {
        const std::string svg = std::get<0>(info.param).svg;
        std::string name = svg.substr(svg.find('/') + 1, svg.find('.') - svg.find('/') - 1);
        std::erase(name, '-');
        return name + "_" + std::to_string(std::get<1>(info.param)) + "x";
    });

}  // namespace
}  // namespace vantrel
