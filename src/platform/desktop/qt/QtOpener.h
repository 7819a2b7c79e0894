// Opens documents and web addresses with the desktop's default application.
#pragma once

#include "core/info/OpenerPort.h"

namespace vantrel {

class QtOpener : public OpenerPort {
  public:
    bool OpenDocument(const std::filesystem::path& file) override;
    bool OpenAddress(const std::string& address) override;
};

}  // namespace vantrel
