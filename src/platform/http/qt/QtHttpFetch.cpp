#include "platform/http/qt/QtHttpFetch.h"

#include <QByteArray>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <limits>
#include <utility>

namespace vantrel {

namespace {

// The proxies the system is configured with (environment or desktop settings), per request.
class SystemProxies : public QNetworkProxyFactory {
  public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};

bool SuccessStatus(const QNetworkReply& reply) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) return reply.error() == QNetworkReply::NoError;  // not HTTP
    const int code = status.toInt();
    return code >= 200 && code < 300;
}

struct Transfer {
    HttpDone done;
    qint64 limit = 0;
    QByteArray body;
    bool full = false;  // reading stopped because the limit was reached
    bool finished = false;
};

}  // namespace

QtHttpFetch::QtHttpFetch() = default;

QtHttpFetch::~QtHttpFetch() {
    *alive_ = false;
    // Replies are the manager's children and go with it, without emitting finished.
}

QNetworkAccessManager& QtHttpFetch::Manager() {
    // Made at the first fetch: nothing of the network stack runs while the program starts.
    if (!manager_) {
        manager_ = std::make_unique<QNetworkAccessManager>();
        manager_->setProxyFactory(new SystemProxies);  // the manager owns the factory
    }
    return *manager_;
}

void QtHttpFetch::TrustAlso(const QList<QSslCertificate>& authorities) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(authorities);
    tls_ = tls;
}

void QtHttpFetch::Start(const HttpRequest& request, HttpDone done) {
    QNetworkRequest req(QUrl(QString::fromStdString(request.url), QUrl::StrictMode));
    req.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("VB OpenUrl"));
    req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    req.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                     QNetworkRequest::NoLessSafeRedirectPolicy);
    const auto timeout =
        std::clamp<long long>(request.timeout.count(), 1, std::numeric_limits<int>::max());
    req.setTransferTimeout(static_cast<int>(timeout));
    if (tls_) req.setSslConfiguration(*tls_);

    auto transfer = std::make_shared<Transfer>();
    transfer->done = std::move(done);
    transfer->limit = static_cast<qint64>(
        std::min<std::size_t>(request.maxBytes, std::numeric_limits<int>::max()));

    QNetworkReply* reply = Manager().get(req);
    // Qt buffers no more than we are going to keep.
    reply->setReadBufferSize(std::max<qint64>(transfer->limit, 1));

    auto finish = [this, reply, transfer] {
        if (transfer->finished) return;
        transfer->finished = true;
        std::optional<std::string> body;
        const bool ok = transfer->full
                            ? SuccessStatus(*reply)
                            : reply->error() == QNetworkReply::NoError && SuccessStatus(*reply);
        if (ok) body = transfer->body.toStdString();
        reply->deleteLater();
        // Answer from the event loop, not from inside the reply's signals: the callback may open
        // a modal message box.
        QMetaObject::invokeMethod(
            manager_.get(),
            [alive = alive_, done = std::move(transfer->done), body = std::move(body)] {
                if (*alive && done) done(body);
            },
            Qt::QueuedConnection);
    };
    // Keeps what has arrived, up to the limit; at the limit the rest is not worth reading.
    auto take = [reply, transfer] {
        const qint64 room = transfer->limit - transfer->body.size();
        if (room > 0) transfer->body += reply->read(room);
        if (transfer->body.size() >= transfer->limit) transfer->full = true;
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, transfer, take] {
        if (transfer->full || transfer->finished) return;
        take();
        if (transfer->full) reply->abort();  // emits finished
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, transfer, take, finish] {
        if (!transfer->full && reply->error() == QNetworkReply::NoError) take();
        finish();
    });
}

}  // namespace vantrel
