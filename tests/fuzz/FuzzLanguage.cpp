// Fuzzes the language-file reader: decoding any bytes gives valid UTF-8 with one character per
// byte (or the bytes themselves when they already were UTF-8), each entry comes from its own line
// and stays valid UTF-8, entries the file does not reach keep their texts, and reading the file
// from disk gives what its bytes give, whatever follows line 50.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "core/text/BuiltInTexts.h"
#include "core/text/LangText.h"
#include "core/text/LanguageFile.h"
#include "core/text/TextEncoding.h"

namespace {

using vantrel::LangText;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "language property broken: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

// Code points of valid UTF-8 text, one call per character.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    return cp;
}

void CheckDecoding(std::string_view bytes, const std::string& text) {
    Check(vantrel::IsValidUtf8(text), "decoded text is not UTF-8");
    if (vantrel::IsValidUtf8(bytes)) {
        const std::string_view mark = "\xEF\xBB\xBF";  // a leading byte-order mark goes
        Check(text == (bytes.starts_with(mark) ? bytes.substr(mark.size()) : bytes),
              "UTF-8 input changed");
        return;
    }
    // Windows-1252: one character per byte; ASCII and 0xA0..0xFF keep their value, 0x80..0x9F
    // become a character above U+00FF or, where the code page has none, stay as they are.
    std::size_t pos = 0;
    for (const char c : bytes) {
        Check(pos < text.size(), "decoded text too short");
        const auto b = static_cast<unsigned char>(c);
        const char32_t cp = NextCodePoint(text, pos);
        if (b >= 0x80 && b < 0xA0)
            Check(cp == b || cp > 0xFF, "high control decoded wrong");
        else
            Check(cp == b, "byte decoded to another character");
    }
    Check(pos == text.size(), "decoded text too long");
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string AfterCharacters(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) NextCodePoint(text, pos);
    return std::string(text.substr(pos));
}

LangText Sentinels() {
    LangText texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = "\x01kept " + std::to_string(i);
    return texts;
}

// The expected table, read line by line with a stream; added lines without words are English.
LangText Expected(const std::string& text) {
    LangText texts = Sentinels();
    for (std::size_t i = vantrel::kFirstAddedLine; i <= vantrel::kLanguageLines; ++i)
        texts[i].clear();
    std::istringstream in(text);
    std::string line;
    for (std::size_t index = 1; index <= vantrel::kLanguageLines && std::getline(in, line);
         ++index) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (CharacterCount(line) < 2) continue;
        texts[index] = AfterCharacters(line, 3);
    }
    for (std::size_t i = vantrel::kFirstAddedLine; i <= vantrel::kLanguageLines; ++i)
        if (texts[i].empty()) texts[i] = vantrel::BuiltInTexts()[i];
    return texts;
}

void CheckTable(const std::string& text) {
    LangText texts = Sentinels();
    vantrel::ApplyLanguageText(text, texts);
    for (const std::string& entry : texts) {
        Check(vantrel::IsValidUtf8(entry), "entry is not UTF-8");
        Check(entry.find('\n') == std::string::npos, "entry spans lines");
    }
    Check(texts == Expected(text), "entries differ from their lines");
    LangText twice = texts;
    vantrel::ApplyLanguageText(text, twice);
    Check(twice == texts, "reading twice differs");
}

// A program folder of this process for the file reads (in memory where possible), removed at
// exit.
class ScratchProgramFolder {
  public:
    ScratchProgramFolder() {
        const std::filesystem::path base =
            access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path();
        path_ = base / ("vantrel-fuzz-lang-" + std::to_string(getpid()));
        std::filesystem::create_directories(path_ / "Lang");
    }
    ~ScratchProgramFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

const std::filesystem::path& ProgramFolder() {
    static const ScratchProgramFolder folder;
    return folder.path();
}

LangText LoadFromDisk(std::string_view bytes) {
    {
        std::ofstream out(ProgramFolder() / "Lang" / "Fuzz.lng",
                          std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    LangText texts = Sentinels();
    Check(vantrel::LoadTexts(ProgramFolder(), "Fuzz.lng", texts), "readable file not read");
    return texts;
}

void CheckFile(std::string_view bytes) {
    std::size_t lineEnds = 0, cut = bytes.size();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' && ++lineEnds == vantrel::kLanguageLines) {
            cut = i + 1;
            break;
        }
    const LangText fromDisk = LoadFromDisk(bytes);
    if (lineEnds < vantrel::kLanguageLines) {
        LangText inMemory = Sentinels();
        vantrel::ApplyLanguageText(vantrel::DecodeText(bytes), inMemory);
        Check(fromDisk == inMemory, "file reads differently from its bytes");
    } else {
        // Whatever follows line 50 (here: bytes that are not UTF-8) changes nothing.
        std::string tailed(bytes.substr(0, cut));
        tailed += "\xFF\xFE not text\n01=other\r\n";
        Check(LoadFromDisk(tailed) == fromDisk, "bytes after line 50 changed the texts");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = vantrel::DecodeText(bytes);
    CheckDecoding(bytes, text);
    CheckTable(text);
    CheckFile(bytes);
    return 0;
}
