// Writing a file so that readers only ever see the old content or the whole new one.
#pragma once

#include <filesystem>
#include <string_view>

namespace vantrel {

// Who may read the new file: whom the user's umask lets, or its owner alone (a secret).
enum class FileReaders { AsUmaskSays, OwnerOnly };

// Writes `content` to `temp` (which must be in the same folder as `file`), then renames it over
// `file`. On any failure the temporary is removed, `file` is left as it was and the result is
// false.
bool ReplaceFileAtomically(const std::filesystem::path& file, const std::filesystem::path& temp,
                           std::string_view content,
                           FileReaders readers = FileReaders::AsUmaskSays);

}  // namespace vantrel
