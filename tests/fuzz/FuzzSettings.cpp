// Fuzzes the settings file both ways. Any bytes must parse, and what the writer makes of the
// result must read back to the same record and be written again to the same bytes. Any record
// (as the options dialog could build it) must come back from its written file with the same
// numbers, the same pointer step and the same language file name.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings/PointerSpeed.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextEncoding.h"

namespace {

using vantrel::Settings;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "settings property broken: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Names the format cannot carry: one starting with a double quote (read as an opening quote),
// and one that needs quotes (a comma, a line break, a blank at either end) and holds a double
// quote, which would end the quoted field early.
bool Carryable(const std::string& name) {
    const bool needsQuotes = (!name.empty() && (IsBlank(name.front()) || IsBlank(name.back()))) ||
                             name.find_first_of(",\r\n") != std::string::npos;
    const bool quote = name.find('"') != std::string::npos;
    return !(quote && (needsQuotes || name.front() == '"'));
}

std::string TrimmedBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

bool SameNumbers(const Settings& a, const Settings& b) {
    return a.LeftButton == b.LeftButton && a.RightButton == b.RightButton &&
           a.MiddleButton == b.MiddleButton && a.Acceleration == b.Acceleration &&
           a.StartAtLogon == b.StartAtLogon && a.JoystickId == b.JoystickId;
}

// The first seven lines hold one field each and end in CR LF; the file is UTF-8.
void CheckLayout(const std::string& written) {
    Check(vantrel::IsValidUtf8(written), "written file is not UTF-8");
    std::size_t pos = 0;
    for (int line = 0; line < 7; ++line) {
        const std::size_t end = written.find("\r\n", pos);
        Check(end != std::string::npos, "fewer than seven CR LF lines before the name");
        const std::string_view text(written.data() + pos, end - pos);
        Check(text.find_first_of(",\r\n\"") == std::string_view::npos,
              "a number or speed line holds a delimiter");
        pos = end + 2;
    }
    Check(written.size() >= pos + 2 && written.compare(written.size() - 2, 2, "\r\n") == 0,
          "last line without CR LF");
}

void CheckParsedBytes(std::string_view bytes) {
    const Settings parsed = vantrel::ParseSettings(bytes);
    const std::string written = vantrel::FormatSettings(parsed);
    CheckLayout(written);
    const Settings again = vantrel::ParseSettings(written);
    Check(SameNumbers(again, parsed), "numbers changed through the file");
    // A name read from a file always fits a written one again.
    Check(Carryable(parsed.LanguageFile), "a read name cannot be written");
    Check(again.LanguageFile == parsed.LanguageFile, "language file name changed");
    Check(vantrel::PointerStepFromSpeed(again.PointerSpeed) ==
              vantrel::PointerStepFromSpeed(parsed.PointerSpeed),
          "pointer step changed");
    Check(vantrel::FormatSettings(again) == written, "second write differs");
}

void CheckRecord(FuzzedDataProvider& data) {
    Settings s;
    s.LeftButton = data.ConsumeIntegral<std::int16_t>();
    s.RightButton = data.ConsumeIntegral<std::int16_t>();
    s.MiddleButton = data.ConsumeIntegral<std::int16_t>();
    s.Acceleration = data.ConsumeIntegral<std::int16_t>();
    s.StartAtLogon = data.ConsumeIntegral<std::int16_t>();
    s.JoystickId = data.ConsumeIntegral<std::int16_t>();
    // Texts in the program are UTF-8 (from the dialog's edit box and file names).
    s.PointerSpeed = vantrel::DecodeText(data.ConsumeRandomLengthString(64));
    s.LanguageFile = vantrel::DecodeText(data.ConsumeRemainingBytesAsString());

    const std::string written = vantrel::FormatSettings(s);
    CheckLayout(written);
    const Settings back = vantrel::ParseSettings(written);
    Check(SameNumbers(back, s), "numbers changed through the file");
    Check(vantrel::PointerStepFromSpeed(back.PointerSpeed) ==
              vantrel::PointerStepFromSpeed(s.PointerSpeed),
          "pointer step changed");
    const std::string speed = TrimmedBlanks(s.PointerSpeed);
    if (vantrel::IsPlainDecimal(speed)) Check(back.PointerSpeed == speed, "plain speed rewritten");
    if (Carryable(s.LanguageFile)) Check(back.LanguageFile == s.LanguageFile, "name changed");
    Check(vantrel::FormatSettings(back) ==
              vantrel::FormatSettings(vantrel::ParseSettings(vantrel::FormatSettings(back))),
          "written file not stable");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses: the rest as file bytes, or as a record to write.
    if (data[0] & 1) {
        CheckParsedBytes(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    } else {
        FuzzedDataProvider provider(data + 1, size - 1);
        CheckRecord(provider);
    }
    return 0;
}
