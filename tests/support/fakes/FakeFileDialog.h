// A file dialog that records what it was asked and answers as the test says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/language/FileDialogPort.h"

namespace vantrel {

class FakeFileDialog : public FileDialogPort {
  public:
    // nullopt: the user cancels.
    std::optional<std::vector<std::string>> answer;
    // When set, the dialog leaves these flags behind (on a cancel as well).
    std::optional<std::uint32_t> flagsLeft;

    int calls = 0;
    FileDialogRequest request;
    std::uint32_t flagsGiven = 0;

    std::optional<std::vector<std::string>> Run(const FileDialogRequest& r,
                                                std::uint32_t& flags) override {
        ++calls;
        request = r;
        flagsGiven = flags;
        if (flagsLeft) flags = *flagsLeft;
        return answer;
    }
};

}  // namespace vantrel
