#include "core/text/LanguageFile.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/text/BuiltInTexts.h"
#include "core/text/RegularFile.h"
#include "core/text/TextEncoding.h"
#include "core/text/Utf8.h"

namespace vantrel {

namespace {

// Only the first 50 lines count, so reading stops after them. The cap keeps a file without line
// ends (a binary picked by mistake) from filling memory; a 10 MB line still fits.
constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;

// The file's bytes up to the end of line 50, or nullopt when it cannot be read. Only regular
// files are read: a FIFO would block on open and a device could read forever.
std::optional<std::string> ReadCountedLines(const std::filesystem::path& file) {
    RegularFileReader in(file);
    if (!in.IsOpen()) return std::nullopt;

    std::string bytes;
    std::array<char, 64 * 1024> chunk{};
    std::size_t lineEnds = 0;
    while (bytes.size() < kMaxBytes) {
        const std::size_t want = std::min(chunk.size(), kMaxBytes - bytes.size());
        const std::size_t got = in.Read(chunk.data(), want);
        if (got == 0) break;
        for (std::size_t i = 0; i < got; ++i) {
            if (chunk[i] == '\n' && ++lineEnds == kLanguageLines) {
                bytes.append(chunk.data(), i + 1);
                return bytes;
            }
        }
        bytes.append(chunk.data(), got);
    }
    return bytes;
}

// The name must stay inside Lang/: an absolute name or a ".." would let a hand-edited settings
// file show any file on the system as the menu's captions. Subfolders are fine.
bool StaysInLanguageFolder(const std::string& languageFile) {
    const std::filesystem::path name = PathFromUtf8(languageFile);
    if (name.has_root_name() || name.has_root_directory()) return false;
    for (const std::filesystem::path& part : name)
        if (part == "..") return false;
    return true;
}

}  // namespace

std::filesystem::path LanguageFolder(const std::filesystem::path& programFolder) {
    return programFolder / "Lang";
}

std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder,
                                       const std::string& languageFile) {
    std::filesystem::path file = LanguageFolder(programFolder) / "";
    file += PathFromUtf8(languageFile);
    return file;
}

void ApplyLanguageLines(std::string_view text, LangText& texts) {
    std::size_t pos = 0;
    for (std::size_t index = 1; index <= kLanguageLines && pos < text.size(); ++index) {
        const std::size_t end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? end : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::size_t prefix = Utf8PrefixBytes(line, 3);
        if (Utf8Length(line.substr(0, prefix)) < 2) continue;
        texts[index] = std::string(line.substr(prefix));
    }
}

void ApplyLanguageText(std::string_view text, LangText& texts) {
    for (std::size_t index = kFirstAddedLine; index <= kLanguageLines; ++index)
        texts[index].clear();
    ApplyLanguageLines(text, texts);
    const LangText& english = BuiltInTexts();
    for (std::size_t index = kFirstAddedLine; index <= kLanguageLines; ++index)
        if (texts[index].empty()) texts[index] = english[index];
}

bool LoadTexts(const std::filesystem::path& programFolder, const std::string& languageFile,
               LangText& texts) {
    // A NUL would cut the name short at the system call and open some other file.
    if (languageFile.find('\0') != std::string::npos) return false;
    if (!StaysInLanguageFolder(languageFile)) return false;
    const std::optional<std::string> bytes =
        ReadCountedLines(LanguageFilePath(programFolder, languageFile));
    if (!bytes) return false;
    ApplyLanguageText(DecodeText(*bytes), texts);
    return true;
}

bool LoadTextsFromRoots(const std::vector<std::filesystem::path>& roots,
                        const std::string& languageFile, LangText& texts) {
    for (const std::filesystem::path& root : roots)
        if (LoadTexts(root, languageFile, texts)) return true;
    return false;
}

}  // namespace vantrel
