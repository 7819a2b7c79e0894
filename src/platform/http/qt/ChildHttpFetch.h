// A fetcher that runs each fetch in a short-lived process of the program's own, which loads the
// HTTP module: the network libraries and what they keep (megabytes) go when that process ends,
// instead of staying in the tray program for the rest of the day.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <optional>

#include "core/info/HttpFetchPort.h"

namespace vantrel {

// The first argument that makes the program such a fetch process.
inline constexpr char kHttpFetchChildArgument[] = "--vantrel-http-fetch";
// The most writable memory a fetch process may take, six times what a fetch of a small file
// needs. Qt reads a reply's whole head into memory before it looks at its size, and over TLS
// fast enough to take hundreds of megabytes before the time-out: at this bound an allocation
// fails, the process ends, and the check fails as it does without network.
inline constexpr std::size_t kHttpFetchMemoryBytes = std::size_t{128} << 20;

class ChildHttpFetch : public HttpFetchPort {
  public:
    // `program`: the executable to start with kHttpFetchChildArgument; the running program's
    // own file by default, whatever it is called and wherever it lies. `memoryBytes`: the bound
    // of each fetch process.
    explicit ChildHttpFetch(QString program = QStringLiteral("/proc/self/exe"),
                            std::size_t memoryBytes = kHttpFetchMemoryBytes);
    // Fetches still running are ended; their callbacks never run.
    ~ChildHttpFetch() override;
    ChildHttpFetch(const ChildHttpFetch&) = delete;
    ChildHttpFetch& operator=(const ChildHttpFetch&) = delete;

    // The body is what the process wrote, when it ended with success; anything else (it could
    // not start, it failed, it crashed) is a failure.
    void Start(const HttpRequest& request, HttpDone done) override;

  private:
    QString program_;
    std::size_t memoryBytes_;
    // Each fetch's process, and the answers queued for the event loop: they go with this object.
    QObject processes_;
};

// The fetch process: `argv` is the program, kHttpFetchChildArgument, the address, the most bytes
// to keep, the time-out in milliseconds and the memory bound in bytes. Loads the module beside
// the executable, writes the body to standard output; the status is 0 when there is a body.
// Nothing when `argv` asks for something else.
std::optional<int> RunHttpFetchChild(int argc, char** argv);

}  // namespace vantrel
