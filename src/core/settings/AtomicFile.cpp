#include "core/settings/AtomicFile.h"

#include <fstream>
#include <system_error>

namespace vantrel {

namespace {

void RemoveQuietly(const std::filesystem::path& file) {
    std::error_code ignored;  // nothing more to undo when this fails too
    std::filesystem::remove(file, ignored);
}

}  // namespace

bool ReplaceFileAtomically(const std::filesystem::path& file, const std::filesystem::path& temp,
                           std::string_view content, FileReaders readers) {
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        // Narrowed while still empty, so the content is never readable by others.
        std::error_code narrowed;
        if (readers == FileReaders::OwnerOnly)
            std::filesystem::permissions(
                temp, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                narrowed);
        if (narrowed) {
            out.close();
            RemoveQuietly(temp);
            return false;
        }
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            RemoveQuietly(temp);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        RemoveQuietly(temp);
        return false;
    }
    return true;
}

}  // namespace vantrel
