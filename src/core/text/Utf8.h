// Counting and cutting UTF-8 text by characters, and paths to and from UTF-8 text.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// Bytes taken by the first `count` characters of `text` (all of it when it has fewer).
std::size_t Utf8PrefixBytes(std::string_view text, std::size_t count);

// The first `count` characters of `text`.
std::string_view Utf8Prefix(std::string_view text, std::size_t count);

// Number of characters (code points) in `text`.
std::size_t Utf8Length(std::string_view text);

// Paths hold native encoding; core strings are UTF-8.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace vantrel
