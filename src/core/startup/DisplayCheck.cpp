#include "core/startup/DisplayCheck.h"

namespace vantrel {

DisplayCandidates QtDisplayCandidates(std::string_view platformOption,
                                      std::string_view platformVariable) {
    std::string_view list = platformOption.empty() ? platformVariable : platformOption;
    if (list.empty()) return {.x11 = true, .wayland = true};
    DisplayCandidates candidates;
    while (!list.empty()) {
        const std::size_t end = list.find(';');
        std::string_view entry = list.substr(0, end);
        list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (name == "xcb")
            candidates.x11 = true;
        else if (name.starts_with("wayland"))  // wayland, wayland-egl, wayland-brcm
            candidates.wayland = true;
        else if (!name.empty())
            candidates.other = true;
    }
    return candidates;
}

std::string NoDisplayText() {
    return "no display can be opened: neither an X display (DISPLAY, -display) nor a Wayland "
           "compositor (WAYLAND_DISPLAY) answers. Vantrel needs a desktop session for its tray "
           "icon and windows, also with --pointer=uinput.";
}

}  // namespace vantrel
