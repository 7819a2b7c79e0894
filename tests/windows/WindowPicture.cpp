// Test tool for the wine run of scripts/test-windows: saves an X window's picture as PNG and
// describes its rows, so a menu drawn by a Windows program can be checked from outside.
//   vantrel_window_picture <window id> <file.png> [picture columns]
//   vantrel_window_picture <window id> --look X Y W H   (a hash of that rectangle's pixels, so
//                                                       a script can wait for a control's look
//                                                       to change: hovered, pressed)
// Prints one line per band of rows that differ from the window's background (the frame's
// outer 3 pixels left out): "band <top> <height> <picture>", picture = 1 when the band has
// something drawn within the first picture columns (default 30), where a menu shows pictures.
#include <QByteArray>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFrame = 3;

QRgb Background(const QImage& image) {
    QHash<QRgb, int> counts;
    for (int y = kFrame; y < image.height() - kFrame; ++y)
        for (int x = kFrame; x < image.width() - kFrame; ++x) ++counts[image.pixel(x, y)];
    QRgb most = 0;
    int best = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > best) {
            best = it.value();
            most = it.key();
        }
    }
    return most;
}

bool Differs(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) >
           24;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <window id> <file.png> [picture columns]\n", argv[0]);
        return 2;
    }
    const WId window = std::strtoull(argv[1], nullptr, 0);
    if (argc == 7 && QByteArray(argv[2]) == "--look") {
        const QImage part = QGuiApplication::primaryScreen()
                                ->grabWindow(window, std::atoi(argv[3]), std::atoi(argv[4]),
                                             std::atoi(argv[5]), std::atoi(argv[6]))
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
        if (part.isNull()) return 1;
        std::printf("%08x\n",
                    static_cast<unsigned>(qHashBits(part.constBits(), part.sizeInBytes())));
        return 0;
    }
    const int pictureColumns = argc > 3 ? std::atoi(argv[3]) : 30;
    const QImage image =
        QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(
            QImage::Format_RGB32);
    if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot grab window %s\n", argv[1]);
        return 1;
    }
    const QRgb background = Background(image);
    const int left = kFrame, right = image.width() - kFrame;
    const int top = kFrame, bottom = image.height() - kFrame;
    // Lines drawn down the whole window (a menu's gutter beside its pictures) are no rows' own.
    std::vector<bool> column(static_cast<std::size_t>(image.width()), true);
    for (int x = left; x < right; ++x) {
        int differing = 0;
        for (int y = top; y < bottom; ++y) differing += Differs(image.pixel(x, y), background);
        column[static_cast<std::size_t>(x)] = differing < (bottom - top) * 4 / 5;
    }
    int bandTop = -1;
    bool shows = false;
    for (int y = top; y <= bottom; ++y) {
        bool inBand = false;
        bool picture = false;
        for (int x = left; y < bottom && x < right; ++x) {
            if (!column[static_cast<std::size_t>(x)]) continue;
            const QRgb p = image.pixel(x, y);
            inBand |= Differs(p, background);
            picture |= x < pictureColumns && Differs(p, background);
        }
        if (inBand && bandTop < 0) {
            bandTop = y;
            shows = false;
        }
        shows |= inBand && picture;
        if (!inBand && bandTop >= 0) {
            std::printf("band %d %d %d\n", bandTop, y - bandTop, shows ? 1 : 0);
            bandTop = -1;
        }
    }
    return 0;
}
