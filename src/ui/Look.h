// The program's look, shared by its windows: the pictures compiled in as Qt resources, the
// program icon and menu pictures, fonts, colours, and layouts given in twips.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <cmath>

#include "core/menu/TrayMenu.h"
#include "core/menu/TrayState.h"

class QWidget;

namespace vantrel {

// Registers the pictures (resources/vantrel.qrc). They live in a static library, which the linker
// would otherwise leave out; safe to call more than once. Everything here that reads ":/..."
// calls it itself.
void InitResources();

// The program's icon at 16 to 256 pixels: the hidden window's icon and the tray icon.
QIcon ProgramIcon();
// The tray icon's picture in `state`, at the same sizes: the program icon, while paused the
// program icon greyed, with a pause mark, and while waiting for a joystick the program icon
// greyed.
QIcon TrayStateIcon(TrayState state);

// One of the 13 x 13 menu pictures (with a double-size version for high-density screens);
// a null icon for MenuPicture::None.
QIcon MenuPictureIcon(MenuPicture picture);

// The windows' pictures, rendered from their SVG sources into PNGs at 1x and 2x (resources/, by
// scripts/render-icons), so no SVG renderer is needed at run time. Names without ".png":
// RenderPicture adds it, or "@2x.png".
inline constexpr const char* kOptionsPicture = ":/options/Logo";
inline constexpr const char* kAboutTitlePicture = ":/info/title-sun";
inline constexpr const char* kMakerLogo = ":/info/maker-logo";

// How a picture meets its box: filling it, or as large as fits, centred, keeping its proportions.
enum class PictureFit { Fill, KeepAspect };

// A picture of the resources at the pixel size of `box` on a screen with `pixelRatio`: the 2x
// file above 1x, scaled when the layout's size differs from the file's; transparent where the
// picture is missing.
QPixmap RenderPicture(const char* resource, QSize box, qreal pixelRatio, PictureFit fit);

// How much larger than usual the user's text is: the application font's size over the usual
// desktop size (11 points), and never below 1. The windows' fonts and layouts grow by it, so a
// large desktop font gives the same look, only larger.
double TextScale();

// A font of `family` at `points`, enlarged by TextScale().
QFont LookFont(const char* family, qreal points, bool bold = false);

// The windows are white; texts and links have colours of their own.
void MakeWhite(QWidget* widget);
// Once `window` is gone, the pictures the style keeps of the controls it drew go too: Qt keeps
// them (up to 10 MiB) for the rest of the run, and the windows of a tray program are open for
// seconds a day (600 openings with language changes kept 5 MiB more).
void ForgetControlPicturesWith(QWidget* window);
void SetTextColour(QWidget* widget, const QColor& colour);

// Window layouts are given in twips (1/1440 inch); the screen wants whole pixels. Rounded to
// nearest, ties to even (the default floating-point rounding mode).
inline int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::nearbyint(twips * dotsPerInch / 1440.0));
}

// A box in twips of its parent's client area.
struct TwipRect {
    int left, top, width, height;
};

// `box` in pixels. Edges, not sizes, are rounded: boxes that meet in twips meet in pixels at
// any scale.
inline QRect TwipsToRect(const TwipRect& box, double dpiX, double dpiY) {
    const int left = TwipsToPixels(box.left, dpiX), top = TwipsToPixels(box.top, dpiY);
    return QRect(left, top, TwipsToPixels(box.left + box.width, dpiX) - left,
                 TwipsToPixels(box.top + box.height, dpiY) - top);
}

// The logical dots per inch of the screen `widget` shows on (the primary screen before it is
// shown; 96 without any screen), enlarged by TextScale() so that layouts in twips grow with the
// text.
double DotsPerInchX(const QWidget& widget);
double DotsPerInchY(const QWidget& widget);

}  // namespace vantrel
