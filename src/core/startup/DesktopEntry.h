// Desktop Entry files (freedesktop.org) for the start-at-logon entry on Linux desktops.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// One argument of an Exec key: wrapped in double quotes when it holds a character the Exec
// syntax reserves, with `"`, `` ` ``, `$` and `\` backslash-escaped inside the quotes, and every
// `%` doubled so it is not taken for a field code. The result is the Exec syntax only; it still
// needs EscapeDesktopString before it goes into a file.
std::string QuoteDesktopExecArgument(std::string_view argument);

// The escaping every string value gets in a desktop file: `\` as `\\`, and newline, tab and
// carriage return as `\n`, `\t`, `\r`, a leading blank as `\s`.
std::string EscapeDesktopString(std::string_view value);

// The whole autostart entry that starts `executable` with kAtLogonOption, LF line ends.
std::string AutostartDesktopEntry(const std::filesystem::path& executable);

}  // namespace vantrel
