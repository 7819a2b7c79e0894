#include "ui/Pictures.h"

#include <QImage>
#include <QPainter>

namespace vantrel {

QPixmap PictureForBox(const QString& resource, QSize box, qreal pixelRatio,
                      Qt::AspectRatioMode aspect) {
    const QSize target = box * pixelRatio;
    QPixmap picture(target);
    picture.fill(Qt::transparent);
    QImage image(pixelRatio > 1 ? resource + QStringLiteral("@2x.png")
                                : resource + QStringLiteral(".png"));
    if (!image.isNull()) {
        // Qt marks an "@2x" file as 2x; here it is drawn pixel for pixel into the picture.
        image.setDevicePixelRatio(1);
        const QSize fitted = image.size().scaled(target, aspect);
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

}  // namespace vantrel
