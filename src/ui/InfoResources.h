// The pictures of the about window, compiled into the program as Qt resources.
#pragma once

namespace vantrel {

// Registers the resources; safe to call more than once. The about window calls it itself, so the
// static library's resource object is always linked in.
void InitInfoResources();

// Without ".png": ui/Pictures.h adds it, or "@2x.png".
inline constexpr const char* kTitlePicture = ":/info/title-sun";
inline constexpr const char* kMakerLogo = ":/info/maker-logo";

}  // namespace vantrel
