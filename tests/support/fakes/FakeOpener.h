// Records what would have been opened, and answers with a result the test picks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/info/OpenerPort.h"

namespace vantrel {

class FakeOpener : public OpenerPort {
  public:
    bool OpenDocument(const std::filesystem::path& file) override {
        documents.push_back(file);
        return succeeds;
    }
    bool OpenAddress(const std::string& address) override {
        addresses.push_back(address);
        return succeeds;
    }

    bool succeeds = true;
    std::vector<std::filesystem::path> documents;
    std::vector<std::string> addresses;
};

}  // namespace vantrel
