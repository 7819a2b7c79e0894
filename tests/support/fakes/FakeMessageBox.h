// Message boxes answered by the test; every box shown is recorded.
#pragma once

#include <string>
#include <vector>

#include "core/text/MessageBoxPort.h"

namespace vantrel {

class FakeMessageBox : public MessageBoxPort {
  public:
    struct Shown {
        bool question = false;
        std::string title;
        std::string text;
    };

    void Warning(const std::string& title, const std::string& text) override {
        shown.push_back({false, title, text});
    }
    bool AskYesNo(const std::string& title, const std::string& text) override {
        shown.push_back({true, title, text});
        return answerYes;
    }

    bool answerYes = false;
    std::vector<Shown> shown;
};

}  // namespace vantrel
