// Fuzzes the settings reader and writer: any bytes must parse, what the writer makes of the
// result must read back to the same record, and writing it again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vantrel::Settings parsed = vantrel::ParseSettings(bytes);
    const std::string written = vantrel::FormatSettings(parsed);
    const vantrel::Settings again = vantrel::ParseSettings(written);
    if (again.LeftButton != parsed.LeftButton || again.RightButton != parsed.RightButton ||
        again.MiddleButton != parsed.MiddleButton || again.Acceleration != parsed.Acceleration ||
        again.StartWithWindows != parsed.StartWithWindows || again.JoystickId != parsed.JoystickId)
        std::abort();
    // A name holding a double quote cannot be carried by this file format; any other survives.
    if (parsed.LanguageFile.find('"') == std::string::npos &&
        again.LanguageFile != parsed.LanguageFile)
        std::abort();
    if (vantrel::FormatSettings(again) != written) std::abort();
    return 0;
}
