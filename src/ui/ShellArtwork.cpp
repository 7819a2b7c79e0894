#include "ui/ShellArtwork.h"

#include <QString>
#include <array>

// Q_INIT_RESOURCE declares a function of the global namespace, so it cannot be used inside one.
static void InitResourcesOnce() {
    static const bool done = [] {
        Q_INIT_RESOURCE(vantrel);
        return true;
    }();
    static_cast<void>(done);
}

namespace vantrel {

void InitVantrelResources() {
    InitResourcesOnce();
}

QIcon ProgramIcon() {
    InitVantrelResources();
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/vantrel-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon MenuPictureIcon(MenuPicture picture) {
    InitVantrelResources();
    const char* name = nullptr;
    switch (picture) {
        case MenuPicture::None:
            return QIcon();
        case MenuPicture::Img1:
            name = "options";
            break;
        case MenuPicture::Img2:
            name = "information";
            break;
        case MenuPicture::Img3:
            name = "updates";
            break;
        case MenuPicture::Img4:
            name = "donation";
            break;
        case MenuPicture::Img5:
            name = "licence";
            break;
        case MenuPicture::Img6:
            name = "exit";
            break;
    }
    if (name == nullptr) return QIcon();
    // addFile also picks up the "@2x" file beside it.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/menu-%1.png").arg(QLatin1String(name)), QSize(13, 13));
    return icon;
}

}  // namespace vantrel
