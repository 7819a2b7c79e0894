// Start at logon on freedesktop.org desktops: one autostart entry, Vantrel.desktop, in the
// user's autostart folder.
#pragma once

#include <filesystem>
#include <optional>

#include "core/startup/RunEntryPort.h"

namespace vantrel {

class XdgAutostart final : public RunEntryPort {
  public:
    // The entry lives in the user's autostart folder, looked up at every call.
    XdgAutostart() = default;
    // The entry lives at `entryFile` (tests).
    explicit XdgAutostart(std::filesystem::path entryFile);

    // Writes the entry atomically, creating the folder when needed.
    bool Write(const std::filesystem::path& executable) override;
    // Deletes the entry; an entry that does not exist is not an error.
    bool Remove() override;

    // $XDG_CONFIG_HOME/autostart/Vantrel.desktop, with ~/.config when XDG_CONFIG_HOME is unset,
    // empty or relative. Nothing when neither it nor HOME gives an absolute folder.
    static std::optional<std::filesystem::path> DefaultEntryPath();

  private:
    std::optional<std::filesystem::path> EntryPath() const;

    std::optional<std::filesystem::path> entryFile_;
};

}  // namespace vantrel
