// Which window systems Qt may open, so that a start without any display ends with one line and
// an exit status instead of Qt's abort.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

struct DisplayCandidates {
    bool x11 = false;
    bool wayland = false;
    // A platform that needs neither (offscreen, vnc, eglfs ...): nothing to check.
    bool other = false;
};

// From Qt's -platform option, else QT_QPA_PLATFORM: a list separated by ";", each name perhaps
// followed by ":parameters". Neither given: X11 or Wayland, whichever Qt's own choice finds.
DisplayCandidates QtDisplayCandidates(std::string_view platformOption,
                                      std::string_view platformVariable);

// The error when none of the candidates answers.
std::string NoDisplayText();

}  // namespace vantrel
