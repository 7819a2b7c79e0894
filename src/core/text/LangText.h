// The table of interface texts: entry n holds line n of the current language file (1..50).
#pragma once

#include <array>
#include <string>

namespace vantrel {

// Index 0 is never used; every entry is UTF-8 and empty until a language file is read.
using LangText = std::array<std::string, 51>;

}  // namespace vantrel
