// Reading files a user may have replaced by anything: only regular files are read, and opening
// one never waits (a FIFO would block until some writer came, a device could read forever).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#ifdef _WIN32
#include <fstream>
#endif

namespace vantrel {

// An open regular file, read in pieces; closed when it goes.
class RegularFileReader {
  public:
    // Opens `file` (links followed) without blocking and keeps it only when what was opened is a
    // regular file; otherwise IsOpen() is false.
    explicit RegularFileReader(const std::filesystem::path& file);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    bool IsOpen() const;
    // Up to `size` bytes into `buffer`: 0 at the end of the file or after a read error.
    std::size_t Read(char* buffer, std::size_t size);
#ifndef _WIN32
    // The open file's descriptor (-1 when none), e.g. to load it as a library by that name; it
    // stays this reader's.
    int Descriptor() const {
        return fd_;
    }
#endif

  private:
#ifdef _WIN32
    std::ifstream in_;
#else
    int fd_ = -1;
#endif
};

// The file's first `maxBytes` bytes, or nothing when it is no regular file or cannot be opened.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::size_t maxBytes);

}  // namespace vantrel
