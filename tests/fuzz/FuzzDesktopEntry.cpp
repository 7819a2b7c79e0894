// Fuzzes the autostart entry's Exec key: for any path, undoing the desktop-file string escapes
// and then the Exec quoting, as a strict reader of the Desktop Entry rules does, gives back
// exactly one argument, the path; the key stays on one line with nothing a reader would trim;
// TryExec unescapes to the path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/startup/CommandLine.h"
#include "core/startup/DesktopEntry.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "desktop entry property broken: %s: [%.*s]\n", what,
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
}

void Check(bool ok, const char* what, std::string_view detail) {
    if (!ok) Fail(what, detail);
}

// String values: \s \n \t \r \\ and nothing else after a backslash.
std::optional<std::string> UnescapeString(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size()) return std::nullopt;
        switch (value[i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

// Characters an Exec argument may hold only inside double quotes.
bool Reserved(char c) {
    return std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos;
}

// Exec arguments: separated by spaces; a quoted one escapes " ` $ \ with a backslash and nothing
// else; "%%" is a literal percent sign, and no other field code may appear in our entry.
std::optional<std::vector<std::string>> SplitExec(std::string_view exec) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < exec.size()) {
        if (exec[i] == ' ') {
            ++i;
            continue;
        }
        std::string arg;
        const bool quoted = exec[i] == '"';
        if (quoted) ++i;
        for (;;) {
            if (i == exec.size()) {
                if (quoted) return std::nullopt;  // unterminated
                break;
            }
            const char c = exec[i];
            if (quoted && c == '"') {
                ++i;
                if (i < exec.size() && exec[i] != ' ') return std::nullopt;
                break;
            }
            if (!quoted && c == ' ') break;
            if (c == '%') {
                if (i + 1 == exec.size() || exec[i + 1] != '%') return std::nullopt;
                arg += '%';
                i += 2;
                continue;
            }
            if (quoted && c == '\\') {
                if (i + 1 == exec.size() ||
                    std::string_view("\"`$\\").find(exec[i + 1]) == std::string_view::npos)
                    return std::nullopt;
                arg += exec[i + 1];
                i += 2;
                continue;
            }
            if (!quoted && Reserved(c)) return std::nullopt;
            arg += c;
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The value must split into exactly `expected`.
void CheckExecValue(const std::vector<std::string>& expected, const std::string& value) {
    Check(value.find_first_of("\r\n") == std::string::npos, "value spans lines", value);
    Check(!value.empty() && !IsBlank(value.front()) && !IsBlank(value.back()),
          "value has blanks a reader trims", value);
    const std::optional<std::string> exec = UnescapeString(value);
    Check(exec.has_value(), "bad string escape", value);
    const auto args = SplitExec(*exec);
    Check(args.has_value(), "bad Exec syntax", *exec);
    Check(*args == expected, "arguments differ from the path (and the logon argument)", *exec);
}

void CheckWholeEntry(const std::string& path) {
    const std::string text = vantrel::AutostartDesktopEntry(path);
    std::vector<std::string_view> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        Check(end != std::string_view::npos, "last line without LF", text);
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    Check(lines.size() == 8 && lines[0] == "[Desktop Entry]", "entry has other lines", text);
    int execLines = 0;
    int tryExecLines = 0;
    for (const std::string_view line : lines) {
        if (line.substr(0, 8) == "TryExec=") {
            // TryExec is a plain string, not Exec syntax: it unescapes to the path itself.
            ++tryExecLines;
            Check(line.find('\r') == std::string_view::npos, "TryExec holds a CR", text);
            Check(UnescapeString(line.substr(8)) == path, "TryExec differs from the path", text);
        }
        if (line.substr(0, 5) != "Exec=") continue;
        ++execLines;
        CheckExecValue({path, std::string(vantrel::kAtLogonOption)}, std::string(line.substr(5)));
    }
    Check(execLines == 1 && tryExecLines == 1, "not one Exec and one TryExec line", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    if (path.find('\0') != std::string::npos) return 0;  // no path holds a NUL
    CheckExecValue({path}, vantrel::EscapeDesktopString(vantrel::QuoteDesktopExecArgument(path)));
    CheckWholeEntry(path);
    return 0;
}
