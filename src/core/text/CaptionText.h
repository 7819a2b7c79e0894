// Captions mark an access key with "&" and write a literal ampersand as "&&"; plain labels
// that take no focus show them without the markers.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// "&&" becomes "&"; a single "&" (access-key marker) is dropped.
std::string StripAccessKeys(std::string_view caption);

// Every "<BR>" (upper case only) becomes a paragraph break, an empty line in a message box.
std::string ParagraphBreaks(std::string_view text);

}  // namespace vantrel
