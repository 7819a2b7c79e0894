// The per-user start-at-logon entry, one per product, that starts the program when the user
// logs on.
#pragma once

#include <filesystem>

namespace vantrel {

class RunEntryPort {
  public:
    virtual ~RunEntryPort() = default;
    // Creates the entry, or replaces it, so that logging on starts `executable` with the
    // argument kAtLogonOption (core/startup/CommandLine.h). False when it could not be written.
    virtual bool Write(const std::filesystem::path& executable) = 0;
    // Deletes the entry. True when no entry is left, also when there was none.
    virtual bool Remove() = 0;
};

}  // namespace vantrel
