// The fixed texts of the about window and the ones it takes from the text table.
#pragma once

#include <string>
#include <string_view>

#include "core/text/LangText.h"

namespace vantrel {

inline constexpr std::string_view kAboutProductTitle = "Vantrel Free";
inline constexpr std::string_view kCreditText = "Copyright © 2026 Dorvane & Kestani";
inline constexpr std::string_view kHomePageCaption = "Home Page:";

// The fixed credit text, " - ", and the text table's suffix; the same on every opening.
std::string CreditLine(const LangText& texts);

}  // namespace vantrel
