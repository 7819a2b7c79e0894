// Hands a local document or a web address to the user's default application.
#pragma once

#include <filesystem>
#include <string>

namespace vantrel {

class OpenerPort {
  public:
    virtual ~OpenerPort() = default;
    // False when the platform refused to open it; menu handlers ignore the result.
    virtual bool OpenDocument(const std::filesystem::path& file) = 0;
    virtual bool OpenAddress(const std::string& address) = 0;
};

}  // namespace vantrel
