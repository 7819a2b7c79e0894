// Modal message boxes, so start-up and the update check can be answered by tests.
#pragma once

#include <string>

namespace vantrel {

class MessageBoxPort {
  public:
    virtual ~MessageBoxPort() = default;
    // A warning with one OK button; returns when the user has closed it.
    virtual void Warning(const std::string& title, const std::string& text) = 0;
    // A question with Yes (the default) and No and the information icon; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
};

}  // namespace vantrel
