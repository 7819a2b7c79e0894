// The windows' pictures: PNGs rendered from SVG sources and compiled in at 1x and 2x, so the
// program needs no SVG renderer at run time.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace vantrel {

// The picture of a box of `box` logical pixels on a screen of `pixelRatio`: <resource>.png, or
// <resource>@2x.png above 1x, scaled to the box when the layout's size differs from the file's
// (Qt::KeepAspectRatio centres it). A missing file gives a transparent picture.
QPixmap PictureForBox(const QString& resource, QSize box, qreal pixelRatio,
                      Qt::AspectRatioMode aspect);

}  // namespace vantrel
