// The update check at start: fetch the published version, compare, offer the product page.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/info/HttpFetchPort.h"
#include "core/info/OpenerPort.h"
#include "core/info/ProgramVersion.h"
#include "core/text/CaptionText.h"
#include "core/text/LangText.h"
#include "core/text/MessageBoxPort.h"

namespace vantrel {

// Nine digits, three per number, e.g. 1.3.1 -> "001003001". Numbers are clamped to 0..999 so the
// string always keeps nine digits and keeps ordering versions correctly.
std::string ComparableVersion(int major, int minor, int revision);
std::string ComparableVersion(const ProgramVersion& version);

// An update is offered only for a body of exactly nine digits that compares greater than `own`
// (no trimming, no line break, nothing else).
bool OffersUpdate(std::string_view body, std::string_view own);

inline constexpr std::size_t kVersionFileNeedBytes = 10;  // one more than a valid file holds
inline constexpr std::chrono::milliseconds kUpdateCheckTimeout{15000};
// The check starts this long after the tray icon is added, so its TLS library (megabytes) and
// the proxy lookup load once the icon is on the screen, not while the program starts.
inline constexpr std::chrono::milliseconds kUpdateCheckDelay{2000};

// The version file's address, compiled in.
std::string_view VersionFileAddress();

struct UpdateCheckOptions {
    std::string versionUrl{VersionFileAddress()};
    std::chrono::milliseconds timeout = kUpdateCheckTimeout;
    ProgramVersion own = OwnVersion();
};

// Everything the check talks to. All of it must outlive the fetch; `texts` is read when the
// answer arrives, so a language chosen in between is the one asked in.
struct UpdateCheckPorts {
    HttpFetchPort& http;
    MessageBoxPort& boxes;
    OpenerPort& opener;
    const LangText& texts;
    // Ends the program at once, without the normal shutdown (nothing is saved).
    std::function<void()> endAtOnce;
};

// What to do once the version file's body (or a failure) is known. Asks the question when an
// update is published; on Yes opens the product page, then ends the program at once.
void OnVersionFile(const std::optional<std::string>& body, const UpdateCheckPorts& ports,
                   const ProgramVersion& own);

// Starts the check and returns at once; the rest runs when the answer arrives. Failures of any
// kind stay silent.
void CheckForUpdates(UpdateCheckPorts ports, UpdateCheckOptions options = {});

}  // namespace vantrel
