// Asynchronous HTTP(S) fetches with QNetworkAccessManager: TLS verified, caches bypassed.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <memory>
#include <optional>

#include "core/info/HttpFetchPort.h"

class QNetworkAccessManager;

namespace vantrel {

class QtHttpFetch : public HttpFetchPort {
  public:
    QtHttpFetch();
    // Pending fetches are dropped; their callbacks never run.
    ~QtHttpFetch() override;
    QtHttpFetch(const QtHttpFetch&) = delete;
    QtHttpFetch& operator=(const QtHttpFetch&) = delete;

    void Start(const HttpRequest& request, HttpDone done) override;

    // Trusts these certificate authorities on top of the system's (a private test server).
    void TrustAlso(const QList<QSslCertificate>& authorities);
    // The manager behind the fetches, e.g. to set a proxy.
    QNetworkAccessManager& Manager();

  private:
    std::unique_ptr<QNetworkAccessManager> manager_;
    std::optional<QSslConfiguration> tls_;
    // Tells queued callbacks that this fetcher is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vantrel
