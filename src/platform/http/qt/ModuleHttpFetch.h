// A fetcher that loads the HTTP module from a folder at its first fetch, so that the network
// libraries cost nothing until a fetch runs.
#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

#include "core/info/HttpFetchPort.h"

namespace vantrel {

class ModuleHttpFetch : public HttpFetchPort {
  public:
    // `folder`: where the module lies (the program's folder), as the system names it.
    explicit ModuleHttpFetch(std::filesystem::path folder);
    // The fetcher goes before the library it came from; pending answers go with it.
    ~ModuleHttpFetch() override = default;
    ModuleHttpFetch(const ModuleHttpFetch&) = delete;
    ModuleHttpFetch& operator=(const ModuleHttpFetch&) = delete;

    // Without the module (missing, damaged, or anything but a regular file) every fetch fails,
    // said once on standard error, answering later from the event loop as a network failure
    // does.
    void Start(const HttpRequest& request, HttpDone done) override;

  private:
    HttpFetchPort* Loaded();

    std::filesystem::path file_;
    std::unique_ptr<HttpFetchPort> fetch_;
    bool tried_ = false;
    // Failures are answered through it, so none is answered after this fetcher is gone.
    QObject answers_;
};

}  // namespace vantrel
