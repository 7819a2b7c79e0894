#include "platform/http/qt/ModuleHttpFetch.h"

#include <dlfcn.h>

#include <QMetaObject>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "core/text/RegularFile.h"
#include "platform/http/qt/HttpModule.h"

namespace vantrel {

namespace {

// The module's entry, or nothing with the reason in `why`. The file is opened without waiting
// and loaded through the descriptor that was checked: a FIFO put in its place would otherwise
// block the loader's open for good, and a name swapped after the check would load anyway.
// The exact file, by its bytes: a folder name that is not UTF-8 survives no text. Never
// unloaded: the fetcher's code lives in it.
HttpModuleEntry LoadEntry(const std::filesystem::path& file, std::string& why) {
    const RegularFileReader module(file);
    if (!module.IsOpen()) {
        why = file.string() + ": no regular file";
        return nullptr;
    }
    const std::string opened = "/proc/self/fd/" + std::to_string(module.Descriptor());
    void* library = ::dlopen(opened.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = library != nullptr
                           ? reinterpret_cast<HttpModuleEntry>(::dlsym(library, kHttpModuleEntry))
                           : nullptr;
    if (entry == nullptr) {
        const char* error = ::dlerror();
        why = file.string() + ": " + (error != nullptr ? error : "no entry");
    }
    return entry;
}

}  // namespace

ModuleHttpFetch::ModuleHttpFetch(std::filesystem::path folder)
    : file_(std::move(folder) / kHttpModuleFile) {}

HttpFetchPort* ModuleHttpFetch::Loaded() {
    if (tried_) return fetch_.get();
    tried_ = true;
    std::string why;
    if (const HttpModuleEntry make = LoadEntry(file_, why)) make(fetch_);
    if (!fetch_) std::fprintf(stderr, "vantrel: no update check: %s\n", why.c_str());
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
