// Decoding of 8-bit text files: UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

bool IsValidUtf8(std::string_view bytes);

// Each byte as its Windows-1252 character, in UTF-8. The five bytes that code page leaves
// undefined are kept as the control characters of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

// The file's bytes as UTF-8 text, per the rule above; a leading UTF-8 byte-order mark is dropped.
std::string DecodeText(std::string_view bytes);

}  // namespace vantrel
