#include "core/settings/SettingsFile.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <system_error>

#include "core/settings/AddedSettings.h"
#include "core/settings/AtomicFile.h"
#include "core/settings/PointerSpeed.h"
#include "core/text/RegularFile.h"
#include "core/text/TextEncoding.h"

namespace vantrel {

namespace {

// Eight short lines and a few added ones; the cap only keeps a huge file put there by mistake from
// filling memory.
constexpr std::size_t kMaxSettingsBytes = 16 * 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Free-format field reader: one field per call, like reading comma-separated values one by one.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // The next field, or nothing at the end of the text.
    std::optional<std::string> Next() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        if (pos_ >= text_.size()) return std::nullopt;
        std::string field;
        if (text_[pos_] == '"') {
            const std::size_t close = text_.find('"', pos_ + 1);
            const std::size_t end = close == std::string_view::npos ? text_.size() : close;
            field.assign(text_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = close == std::string_view::npos ? text_.size() : close + 1;
            // Whatever follows the closing quote up to the delimiter is not part of the field.
            while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(text_[pos_])) ++pos_;
        } else {
            const std::size_t start = pos_;
            while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(text_[pos_])) ++pos_;
            field.assign(text_.substr(start, pos_ - start));
            while (!field.empty() && IsBlank(field.back())) field.pop_back();
        }
        SkipDelimiter();
        return field;
    }

    // What follows the fields read so far.
    std::string_view Rest() const { return text_.substr(pos_); }

  private:
    void SkipDelimiter() {
        if (pos_ >= text_.size()) return;
        if (text_[pos_] == ',') {
            ++pos_;
        } else if (text_[pos_] == '\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        } else if (text_[pos_] == '\n') {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// A decimal number rounded to the nearest 16-bit integer (ties to even); nothing when the text
// is not a number or lies outside -32768..32767.
std::optional<std::int16_t> ToInt16(const std::string& field) {
    std::size_t i = 0;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
    bool digits = false;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i, digits = true;
    if (i < field.size() && field[i] == '.') {
        ++i;
        while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i, digits = true;
    }
    if (!digits || i != field.size()) return std::nullopt;
    std::string number = field[0] == '+' ? field.substr(1) : field;
    double value = 0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec != std::errc()) return std::nullopt;
    const double rounded = std::nearbyint(value);  // default rounding mode: ties to even
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

void ReadNumber(FieldReader& reader, std::int16_t& target) {
    if (auto field = reader.Next())
        if (auto value = ToInt16(*field)) target = *value;
}

void ReadText(FieldReader& reader, std::string& target) {
    if (auto field = reader.Next()) target = std::move(*field);
}

std::string Trimmed(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

// A speed the reader will give back as the same number: plain decimals stay as they are; any
// other text becomes the number the engine reads from it, so it can never spill into the
// following lines.
std::string SpeedForFile(const std::string& speed) {
    std::string text = Trimmed(speed);
    if (text.empty() || IsPlainDecimal(text)) return text;
    char buffer[64];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, LeadingNumber(text));
    return std::string(buffer, res.ptr);
}

std::string LanguageForFile(const std::string& name) {
    // Quoted, a comma or a line break stays inside the field instead of starting the next one,
    // and blanks around the name (a file may be called " x.lng") are not trimmed away.
    const bool edgeBlank = !name.empty() && (IsBlank(name.front()) || IsBlank(name.back()));
    if (edgeBlank || name.find_first_of(",\r\n") != std::string::npos) return '"' + name + '"';
    return name;
}

// A save killed between writing its temporary file and renaming it leaves that file behind.
// Later saves remove such leftovers, of this writer's naming only, once they are old enough that
// no save still running (another user's program on a shared folder) can own them.
constexpr auto kStaleTemporaryAge = std::chrono::minutes(10);

bool IsOwnTemporary(const std::string& name, const std::string& settingsName) {
    const std::string prefix = settingsName + ".tmp";
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string settingsName = file.filename().string();
    const auto now = fs::file_time_type::clock::now();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsOwnTemporary(it->path().filename().string(), settingsName)) continue;
        std::error_code entryError;
        if (it->symlink_status(entryError).type() != fs::file_type::regular) continue;
        const auto written = fs::last_write_time(it->path(), entryError);
        if (entryError || now - written < kStaleTemporaryAge) continue;
        // One that cannot be removed stays; the next save tries again.
        static_cast<void>(fs::remove(it->path(), entryError));
    }
}

}  // namespace

std::filesystem::path SettingsPath(const std::filesystem::path& programFolder) {
    return programFolder / "Vantrel.ini";
}

Settings ParseSettings(std::string_view bytes) {
    const std::string text = DecodeText(bytes);
    FieldReader reader(text);
    Settings s;
    ReadNumber(reader, s.LeftButton);
    ReadNumber(reader, s.RightButton);
    ReadNumber(reader, s.MiddleButton);
    ReadText(reader, s.PointerSpeed);
    ReadNumber(reader, s.Acceleration);
    ReadNumber(reader, s.StartAtLogon);
    ReadNumber(reader, s.JoystickId);
    ReadText(reader, s.LanguageFile);
    ReadAddedSettings(reader.Rest(), s);
    return s;
}

SettingsLoad LoadSettings(const std::filesystem::path& file, Settings& settings) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        settings = DefaultSettings();
        return SettingsLoad::Missing;
    }
    // Anything but a regular file (a FIFO would block the start for good) counts as a file that
    // cannot be read, and that reads as empty: every field stays 0.
    settings = ParseSettings(ReadRegularFile(file, kMaxSettingsBytes).value_or(std::string()));
    return SettingsLoad::Found;
}

std::string FormatSettings(const Settings& s) {
    std::string out;
    const auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    line(std::to_string(s.LeftButton));
    line(std::to_string(s.RightButton));
    line(std::to_string(s.MiddleButton));
    line(SpeedForFile(s.PointerSpeed));
    line(std::to_string(s.Acceleration));
    line(std::to_string(s.StartAtLogon));
    line(std::to_string(s.JoystickId));
    line(LanguageForFile(s.LanguageFile));
    return out + FormatAddedSettings(s);
}

bool SaveSettings(const std::filesystem::path& file, const Settings& settings) {
    namespace fs = std::filesystem;
    const std::string content = FormatSettings(settings);
    std::random_device random;
    fs::path temp = file;
    temp += ".tmp" + std::to_string(random());
    if (!ReplaceFileAtomically(file, temp, content)) return false;
    RemoveStaleTemporaries(file);
    return true;
}

}  // namespace vantrel
