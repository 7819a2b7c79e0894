#include "core/settings/AddedSettings.h"

#include <charconv>

namespace vantrel {

namespace {

const AddedSetting* RowNamed(std::string_view name) {
    for (const AddedSetting& row : kAddedSettings)
        if (name == row.name) return &row;
    return nullptr;
}

void ReadLine(std::string_view line, Settings& settings) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const AddedSetting* row = RowNamed(line.substr(0, equals));
    if (!row) return;
    const std::string_view text = line.substr(equals + 1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return;
    if (value < row->lowest || value > row->highest) return;
    settings.*row->field = static_cast<std::int16_t>(value);
}

}  // namespace

void ReadAddedSettings(std::string_view lines, Settings& settings) {
    while (!lines.empty()) {
        const std::size_t end = lines.find_first_of("\r\n");
        ReadLine(lines.substr(0, end), settings);
        if (end == std::string_view::npos) break;
        lines.remove_prefix(end + 1);
    }
}

std::string FormatAddedSettings(const Settings& settings) {
    const Settings defaults;
    std::string out;
    for (const AddedSetting& row : kAddedSettings) {
        if (settings.*row.field == defaults.*row.field) continue;
        out += row.name;
        out += '=' + std::to_string(settings.*row.field) + "\r\n";
    }
    return out;
}

}  // namespace vantrel
