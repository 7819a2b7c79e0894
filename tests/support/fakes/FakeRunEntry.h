// A start-at-logon entry kept in memory, with answers chosen by the test.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "core/startup/RunEntryPort.h"

namespace vantrel {

class FakeRunEntry : public RunEntryPort {
  public:
    bool Write(const std::filesystem::path& executable) override {
        writes.push_back(executable);
        if (writeSucceeds) entry = executable;
        return writeSucceeds;
    }
    bool Remove() override {
        ++removes;
        if (removeSucceeds) entry.reset();
        return removeSucceeds;
    }

    bool writeSucceeds = true;
    bool removeSucceeds = true;
    std::optional<std::filesystem::path> entry;  // what a logon would start
    std::vector<std::filesystem::path> writes;   // every Write call, in order
    int removes = 0;
};

}  // namespace vantrel
