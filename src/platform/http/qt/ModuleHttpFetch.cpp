#include "platform/http/qt/ModuleHttpFetch.h"

#include <dlfcn.h>

#include <QMetaObject>
#include <cstdio>
#include <optional>
#include <utility>

#include "platform/http/qt/HttpModule.h"

namespace vantrel {

ModuleHttpFetch::ModuleHttpFetch(const std::filesystem::path& folder)
    : file_(folder / kHttpModuleFile) {}

HttpFetchPort* ModuleHttpFetch::Loaded() {
    if (tried_) return fetch_.get();
    tried_ = true;
    // The exact file, by its bytes: QLibrary's name is text, which a folder name that is not
    // UTF-8 does not survive, and it tries other names and folders besides.
    library_ = ::dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto make = library_ != nullptr
                          ? reinterpret_cast<HttpModuleEntry>(::dlsym(library_, kHttpModuleEntry))
                          : nullptr;
    if (make != nullptr) make(fetch_);
    if (!fetch_) {
        const char* error = ::dlerror();
        std::fprintf(stderr, "vantrel: no update check: %s\n",
                     error != nullptr ? error : "the module makes no fetcher");
    }
    return fetch_.get();
}

void ModuleHttpFetch::Start(const HttpRequest& request, HttpDone done) {
    if (HttpFetchPort* fetch = Loaded()) {
        fetch->Start(request, std::move(done));
        return;
    }
    QMetaObject::invokeMethod(
        &answers_, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
}

}  // namespace vantrel
