#include "platform/http/qt/ModuleHttpFetch.h"

#include <QDir>
#include <QMetaObject>
#include <cstdio>
#include <optional>
#include <utility>

#include "platform/http/qt/HttpModule.h"

namespace vantrel {

ModuleHttpFetch::ModuleHttpFetch(const QString& folder)
    : library_(QDir(folder).filePath(QString::fromLatin1(kHttpModuleFile))) {}

HttpFetchPort* ModuleHttpFetch::Loaded() {
    if (tried_) return fetch_.get();
    tried_ = true;
    const auto make = reinterpret_cast<HttpModuleEntry>(library_.resolve(kHttpModuleEntry));
    if (make != nullptr) make(fetch_);
    if (!fetch_)
        std::fprintf(stderr, "vantrel: no update check: %s\n",
                     library_.errorString().toLocal8Bit().constData());
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
