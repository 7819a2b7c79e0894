#include "core/startup/Manifest.h"

#include <fstream>
#include <system_error>

#include "core/settings/AtomicFile.h"

namespace vantrel {

namespace {

std::string_view ArchitectureName(ManifestArchitecture architecture) {
    switch (architecture) {
        case ManifestArchitecture::Amd64:
            return "amd64";
        case ManifestArchitecture::Arm64:
            return "arm64";
        case ManifestArchitecture::X86:
            break;
    }
    return "X86";
}

std::string BuildManifestText(ManifestArchitecture architecture) {
    static constexpr std::string_view kLines[] = {
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)",
        R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)",
        R"(    <assemblyIdentity version="1.0.0.0" processorArchitecture="@" name="app" type="win32" />)",
        R"(    <description>Vantrel Free</description>)",
        R"(<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">)",
        R"(<security>)",
        R"(<requestedPrivileges>)",
        R"(        <requestedExecutionLevel level="asInvoker" />)",
        R"(    </requestedPrivileges>)",
        R"(</security>)",
        R"(</trustInfo>)",
        R"(    <dependency>)",
        R"(        <dependentAssembly>)",
        R"(            <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="@" publicKeyToken="6595b64144ccf1df" language="*" />)",
        R"(        </dependentAssembly>)",
        R"(    </dependency>)",
        R"(</assembly>)",
    };
    std::string text;
    for (const std::string_view line : kLines) {
        const std::size_t mark = line.find('@');
        if (mark == std::string_view::npos) {
            text += line;
        } else {
            text += line.substr(0, mark);
            text += ArchitectureName(architecture);
            text += line.substr(mark + 1);
        }
        text += "\r\n";
    }
    return text;
}

bool Exists(const std::filesystem::path& file) {
    std::error_code ec;
    // symlink_status: a dangling link still counts as "a file of that name".
    const auto status = std::filesystem::symlink_status(file, ec);
    return !ec && std::filesystem::exists(status);
}

// The manifest is never repaired once it exists, so it must never appear half-written: write
// a temporary file beside it and rename that into place.
bool CreateAtomically(const std::filesystem::path& file, const std::string& content) {
    std::filesystem::path temp = file;
    temp += ".tmp";
    return ReplaceFileAtomically(file, temp, content);
}

bool MakeReadOnly(const std::filesystem::path& file) {
    using std::filesystem::perms;
    std::error_code ec;
    std::filesystem::permissions(file,
                                 perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove, ec);
    return !ec;
}

}  // namespace

std::filesystem::path ManifestPath(const std::filesystem::path& programFolder,
                                   std::string_view exeBaseName) {
    // operator/ adds a separator only when the folder does not end with one.
    std::string name(exeBaseName);
    name += ".exe.manifest";
    return programFolder / name;
}

const std::string& ManifestText(ManifestArchitecture architecture) {
    static const std::string texts[] = {
        BuildManifestText(ManifestArchitecture::X86),
        BuildManifestText(ManifestArchitecture::Amd64),
        BuildManifestText(ManifestArchitecture::Arm64),
    };
    return texts[static_cast<std::size_t>(architecture)];
}

ManifestStatus WriteManifest(const std::filesystem::path& programFolder,
                             std::string_view exeBaseName, ManifestPlatformPort& platform) {
    const std::filesystem::path file = ManifestPath(programFolder, exeBaseName);
    ManifestStatus status = ManifestStatus::AlreadyPresent;
    if (!Exists(file)) {
        if (CreateAtomically(file, ManifestText(platform.Architecture()))) {
            status = ManifestStatus::Written;
            // Both are cosmetic: a writable or visible manifest works just as well.
            const bool readOnly = MakeReadOnly(file);
            const bool marked = platform.MarkHiddenAndSystem(file);
            static_cast<void>(readOnly);
            static_cast<void>(marked);
        } else {
            status = ManifestStatus::WriteFailed;
        }
    }
    platform.InitCommonControls();
    return status;
}

}  // namespace vantrel
