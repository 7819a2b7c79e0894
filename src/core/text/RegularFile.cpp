#include "core/text/RegularFile.h"

#include <algorithm>
#include <array>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace vantrel {

#ifdef _WIN32

// Nothing in a Windows folder opens as a FIFO or a device, so the check before opening does.
RegularFileReader::RegularFileReader(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) in_.open(file, std::ios::binary);
}

RegularFileReader::~RegularFileReader() = default;

bool RegularFileReader::IsOpen() const {
    return in_.is_open();
}

std::size_t RegularFileReader::Read(char* buffer, std::size_t size) {
    if (!in_.is_open() || !in_.good()) return 0;
    in_.read(buffer, static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in_.gcount());
}

#else

// Checking the type before opening would leave a moment in which the name could be swapped for
// a FIFO; so the file is opened without waiting and the check is made on what was opened.
RegularFileReader::RegularFileReader(const std::filesystem::path& file) {
    fd_ = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        static_cast<void>(::close(fd_));  // read-only: nothing to lose
        fd_ = -1;
    }
}

RegularFileReader::~RegularFileReader() {
    if (fd_ >= 0) static_cast<void>(::close(fd_));
}

bool RegularFileReader::IsOpen() const {
    return fd_ >= 0;
}

std::size_t RegularFileReader::Read(char* buffer, std::size_t size) {
    if (fd_ < 0) return 0;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return 0;
    }
}

#endif

std::optional<std::string> ReadRegularFile(const std::filesystem::path& file,
                                           std::size_t maxBytes) {
    RegularFileReader reader(file);
    if (!reader.IsOpen()) return std::nullopt;
    std::string bytes;
    std::array<char, 64 * 1024> chunk{};
    while (bytes.size() < maxBytes) {
        const std::size_t got =
            reader.Read(chunk.data(), std::min(chunk.size(), maxBytes - bytes.size()));
        if (got == 0) break;
        bytes.append(chunk.data(), got);
    }
    return bytes;
}

}  // namespace vantrel
