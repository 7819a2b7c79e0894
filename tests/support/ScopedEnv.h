// An environment variable set or cleared for one scope, with its old value put back afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace vantrel::test {

// The variable's value; nullopt where it is not set.
inline std::optional<std::string> EnvValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

class ScopedEnv {
  public:
    // `value` nullopt (or a null pointer): the variable is cleared.
    ScopedEnv(const char* name, const std::optional<std::string>& value)
        : name_(name), old_(EnvValue(name)) {
        Set(name, value);
    }
    ScopedEnv(const char* name, const char* value)
        : ScopedEnv(name, value ? std::optional<std::string>(value) : std::nullopt) {}
    ~ScopedEnv() { Set(name_, old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    static void Set(const char* name, const std::optional<std::string>& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }

    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace vantrel::test
