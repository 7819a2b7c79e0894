// Keeps each request; the test answers it later, as the network would.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/info/HttpFetchPort.h"

namespace vantrel {

class FakeHttpFetch : public HttpFetchPort {
  public:
    void Start(const HttpRequest& request, HttpDone done) override {
        requests.push_back(request);
        pending.push_back(std::move(done));
    }

    // Answers the oldest request still open.
    void Answer(std::optional<std::string> body) {
        HttpDone done = std::move(pending.front());
        pending.erase(pending.begin());
        done(std::move(body));
    }

    std::vector<HttpRequest> requests;
    std::vector<HttpDone> pending;
};

}  // namespace vantrel
