// The module's only export. The fetcher's code, and so its destructor, lives in the module: the
// program never unloads it.
#include <type_traits>

#include "platform/http/qt/HttpModule.h"
#include "platform/http/qt/QtHttpFetch.h"

extern "C" __attribute__((visibility("default"))) void vantrel_http_fetch_make(
    std::unique_ptr<vantrel::HttpFetchPort>& made) {
    made = std::make_unique<vantrel::QtHttpFetch>();
}

static_assert(std::is_same_v<decltype(&vantrel_http_fetch_make), vantrel::HttpModuleEntry>);
