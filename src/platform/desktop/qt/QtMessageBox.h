// Modal message boxes shown with QMessageBox.
#pragma once

#include "core/text/MessageBoxPort.h"

namespace vantrel {

// Texts are shown as plain text: language files may hold "<" without meaning markup.
class QtMessageBox : public MessageBoxPort {
  public:
    void Warning(const std::string& title, const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
};

}  // namespace vantrel
