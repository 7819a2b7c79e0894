#include "core/info/UpdateCheck.h"

#include <algorithm>
#include <utility>

#include "core/info/Documents.h"

namespace vantrel {

namespace {

std::string ThreeDigits(int number) {
    const std::string digits = std::to_string(std::clamp(number, 0, 999));
    return std::string(3 - digits.size(), '0') + digits;
}

}  // namespace

std::string ComparableVersion(int major, int minor, int revision) {
    return ThreeDigits(major) + ThreeDigits(minor) + ThreeDigits(revision);
}

std::string ComparableVersion(const ProgramVersion& version) {
    return ComparableVersion(version.major, version.minor, version.revision);
}

bool OffersUpdate(std::string_view body, std::string_view own) {
    // An error page served as 200 or any other text is not a version, however it sorts.
    const bool nineDigits = body.size() == 9 && std::all_of(body.begin(), body.end(), [](char c) {
                                return c >= '0' && c <= '9';
                            });
    return nineDigits && body > own;
}

std::string_view VersionFileAddress() {
    return VANTREL_VERSION_URL;
}

void OnVersionFile(const std::optional<std::string>& body, const UpdateCheckPorts& ports,
                   const ProgramVersion& own) {
    if (!body || !OffersUpdate(*body, ComparableVersion(own))) return;
    const bool yes = ports.boxes.AskYesNo(ports.texts[TextId::UpdateTitle],
                                          ParagraphBreaks(ports.texts[TextId::UpdateQuestion]));
    if (!yes) return;
    OpenPage(ports.opener, WebPage::Product);
    if (ports.endAtOnce) ports.endAtOnce();
}

void CheckForUpdates(UpdateCheckPorts ports, UpdateCheckOptions options) {
    HttpRequest request{std::move(options.versionUrl), kVersionFileNeedBytes, options.timeout};
    HttpFetchPort& http = ports.http;
    http.Start(request, [ports = std::move(ports), own = options.own](
                            std::optional<std::string> body) { OnVersionFile(body, ports, own); });
}

}  // namespace vantrel
