// Fetches a small resource over HTTP(S) without blocking: the answer arrives on the event loop.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace vantrel {

struct HttpRequest {
    std::string url;
    // Reading stops as soon as this many bytes have arrived; the body then holds just these.
    std::size_t maxBytes = 0;
    // The fetch fails when nothing arrives for this long.
    std::chrono::milliseconds timeout{15000};
};

// The body as bytes, or nothing on any failure (no network, TLS, HTTP error status, time-out).
using HttpDone = std::function<void(std::optional<std::string> body)>;

class HttpFetchPort {
  public:
    virtual ~HttpFetchPort() = default;
    // Returns at once. `done` runs exactly once, later, on the caller's event loop; never when the
    // fetcher is destroyed before the answer.
    virtual void Start(const HttpRequest& request, HttpDone done) = 0;
};

}  // namespace vantrel
