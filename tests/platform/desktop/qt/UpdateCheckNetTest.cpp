// The update check against a local HTTPS server with a certificate made for this test only.
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QProcess>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include <gtest/gtest.h>

#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "platform/http/qt/QtHttpFetch.h"
#include "support/fakes/FakeMessageBox.h"
#include "support/fakes/FakeOpener.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;

struct TestCertificate {
    QSslCertificate certificate;
    QSslKey key;
};

// A self-signed certificate for 127.0.0.1, made once per run with the openssl tool.
const TestCertificate& Certificate() {
    static const TestCertificate made = [] {
        TestCertificate result;
        QTemporaryDir dir;
        const QString key = dir.filePath("key.pem");
        const QString cert = dir.filePath("cert.pem");
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                                  "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                                  "subjectAltName=IP:127.0.0.1"});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) return result;
        QFile certFile(cert);
        QFile keyFile(key);
        if (certFile.open(QIODevice::ReadOnly)) result.certificate = QSslCertificate(&certFile);
        if (keyFile.open(QIODevice::ReadOnly)) result.key = QSslKey(&keyFile, QSsl::Rsa);
        return result;
    }();
    return made;
}

// One HTTPS server on an ephemeral loopback port; each path answers the way the test says.
class HttpsServer {
  public:
    using Handler = std::function<void(QSslSocket*)>;

    HttpsServer() {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(Certificate().certificate);
        tls.setPrivateKey(Certificate().key);
        server_.setSslConfiguration(tls);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, [this] {
            while (auto* socket = qobject_cast<QSslSocket*>(server_.nextPendingConnection())) {
                Accept(socket);
            }
        });
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
    }

    bool Listening() const { return listening_; }
    std::string Url(const char* path) const {
        return "https://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    void On(const QByteArray& path, Handler handler) { handlers_[path] = std::move(handler); }

    // Helpers for handlers.
    static void Reply(QSslSocket* socket, const QByteArray& status, const QByteArray& body,
                      const QByteArray& extraHeaders = {}) {
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + extraHeaders +
                      "\r\n" + body);
        socket->disconnectFromHost();
    }

    QByteArray lastRequest;
    int requests = 0;

  private:
    void Accept(QSslSocket* socket) {
        auto head = std::make_shared<QByteArray>();
        QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket, head] {
            if (head->contains("\r\n\r\n")) return;  // already answered or answering
            *head += socket->readAll();
            if (!head->contains("\r\n\r\n")) return;
            lastRequest = *head;
            ++requests;
            const QByteArray path = head->split(' ').value(1);
            const auto handler = handlers_.find(path);
            if (handler == handlers_.end()) {
                Reply(socket, "404 Not Found", "not here");
            } else {
                handler->second(socket);
            }
        });
    }

    QSslServer server_;
    std::map<QByteArray, Handler> handlers_;
    bool listening_ = false;
};

// The real fetcher, with a note of whether and what it answered.
class ObservedFetch : public HttpFetchPort {
  public:
    explicit ObservedFetch(bool trustTestCertificate) {
        real.Manager().setProxy(QNetworkProxy::NoProxy);  // loopback, whatever the environment
        if (trustTestCertificate) real.TrustAlso({Certificate().certificate});
    }
    void Start(const HttpRequest& request, HttpDone done) override {
        real.Start(request, [this, done = std::move(done)](std::optional<std::string> body) {
            answered = true;
            result = body;
            done(std::move(body));
        });
    }

    QtHttpFetch real;
    bool answered = false;
    std::optional<std::string> result;
};

class UpdateCheckNetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Certificate().certificate.isNull()) << "openssl could not make a certificate";
        ASSERT_TRUE(server.Listening());
        texts[32] = "New release.<BR>Open the page?";
        texts[33] = "Update";
    }

    // The version file answers with `status` and `body`.
    void Serve(const QByteArray& status, const QByteArray& body) {
        server.On("/ver_vantrel.txt", [=](QSslSocket* s) { HttpsServer::Reply(s, status, body); });
    }
    // Starts the check; returns how long the call itself took.
    std::chrono::milliseconds Check(const char* path = "/ver_vantrel.txt",
                                    std::chrono::milliseconds timeout = 3s) {
        QElapsedTimer clock;
        clock.start();
        CheckForUpdates({*via, boxes, opener, texts, [this] { ++ends; }},
                        {server.Url(path), timeout, ProgramVersion{1, 3, 1}});
        return std::chrono::milliseconds(clock.elapsed());
    }
    bool WaitForAnswer(int ms = 10000) {
        return QTest::qWaitFor([this] { return via->answered; }, ms);
    }
    void ExpectSilent() {
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_TRUE(opener.addresses.empty());
        EXPECT_EQ(ends, 0);
    }

    HttpsServer server;
    ObservedFetch fetch{true};  // a fresh manager per case
    ObservedFetch untrusting{false};
    ObservedFetch* via = &fetch;  // the fetcher the check goes through
    FakeMessageBox boxes;
    FakeOpener opener;
    LangText texts;
    int ends = 0;
};

TEST_F(UpdateCheckNetTest, NewerVersionAsks) {
    Serve("200 OK", "001004000");
    Check();
    ASSERT_TRUE(WaitForAnswer());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Update");
    EXPECT_EQ(boxes.shown[0].text, "New release.\n\nOpen the page?");
    EXPECT_TRUE(opener.addresses.empty());  // answered No
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(server.lastRequest.startsWith("GET /ver_vantrel.txt HTTP/1.1\r\n"));
    EXPECT_TRUE(server.lastRequest.contains("\r\nUser-Agent: VB OpenUrl\r\n"));
    EXPECT_TRUE(server.lastRequest.toLower().contains("\r\ncache-control: no-cache"));
}

TEST_F(UpdateCheckNetTest, YesOpensTheProductPageThenEndsAtOnce) {
    Serve("200 OK", "002000000");
    boxes.answerYes = true;
    std::vector<std::string> order;
    struct OrderedOpener : FakeOpener {
        std::vector<std::string>* order = nullptr;
        bool OpenAddress(const std::string& address) override {
            order->push_back(address);
            return FakeOpener::OpenAddress(address);
        }
    } orderedOpener;
    orderedOpener.order = &order;
    CheckForUpdates({fetch, boxes, orderedOpener, texts, [&] { order.push_back("end"); }},
                    {server.Url("/ver_vantrel.txt"), 3s, ProgramVersion{1, 3, 1}});
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_EQ(order, (std::vector<std::string>{PageAddress(WebPage::Product), "end"}));
}

TEST_F(UpdateCheckNetTest, RedirectIsFollowed) {
    server.On("/old", [this](QSslSocket* s) {
        HttpsServer::Reply(
            s, "301 Moved Permanently", "",
            "Location: " + QByteArray::fromStdString(server.Url("/ver_vantrel.txt")) + "\r\n");
    });
    Serve("200 OK", "001003002");
    Check("/old");
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(server.requests, 2);
}

// Answers that are no newer version, and a server the fetcher does not trust: no question, no
// page, no end.
struct SilentCase {
    const char* name;
    QByteArray status, body;
    bool trusted;
    std::optional<std::string> result;  // what the fetcher handed over
    int requests;                       // what reached the server
};
class SilentAnswerTest : public UpdateCheckNetTest,
                         public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentAnswerTest, StaysSilent) {
    const SilentCase& c = GetParam();
    if (!c.trusted) via = &untrusting;
    Serve(c.status, c.body);
    Check();
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_EQ(via->result, c.result);
    EXPECT_EQ(server.requests, c.requests);
    ExpectSilent();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SilentAnswerTest,
    ::testing::Values(SilentCase{"EqualVersion", "200 OK", "001003001", true, "001003001", 1},
                      SilentCase{"UntrustedCertificate", "200 OK", "009000000", false, {}, 0},
                      SilentCase{
                          "ErrorPageWithNineDigits", "404 Not Found", "009000000", true, {}, 1},
                      SilentCase{"EmptyBody", "200 OK", "", true, "", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckNetTest, ServerThatNeverAnswersTimesOutSilently) {
    server.On("/ver_vantrel.txt", [](QSslSocket*) {});  // reads the request, says nothing
    QElapsedTimer clock;
    clock.start();
    Check("/ver_vantrel.txt", 400ms);
    ASSERT_TRUE(WaitForAnswer(10000));
    EXPECT_GE(clock.elapsed(), 350);
    EXPECT_FALSE(fetch.result.has_value());
    ExpectSilent();
}

TEST_F(UpdateCheckNetTest, PollTimerKeepsTickingWhileTheServerIsSlow) {
    server.On("/ver_vantrel.txt", [](QSslSocket* s) {
        QTimer::singleShot(800, s, [s] { HttpsServer::Reply(s, "200 OK", "001004000"); });
    });
    int ticks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { ++ticks; });
    poll.start(5);

    const auto callTook = Check();
    EXPECT_LT(callTook, 500ms);  // the check returns at once
    int ticksBeforeAnswer = -1;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (fetch.answered && ticksBeforeAnswer < 0) ticksBeforeAnswer = ticks;
            return fetch.answered;
        },
        10000));
    // 800 ms at 5 ms would be 160 ticks; a loaded machine still gives far more than a blocked one.
    EXPECT_GT(ticksBeforeAnswer, 20);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(UpdateCheckNetTest, EndlessBodyStopsBeingRead) {
    qint64 written = 0;
    bool clientLeft = false;
    server.On("/ver_vantrel.txt", [&](QSslSocket* s) {
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
        const QByteArray chunk(64 * 1024, '7');
        auto more = [s, chunk, &written] {
            // Keep the pipe full, up to a bound far beyond what the client may read.
            if (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() < chunk.size() &&
                written < 256 * 1024 * 1024) {
                written += s->write(chunk);
            }
        };
        QObject::connect(s, &QSslSocket::encryptedBytesWritten, s, more);
        QObject::connect(s, &QSslSocket::disconnected, [&clientLeft] { clientLeft = true; });
        more();
    });
    Check();
    ASSERT_TRUE(WaitForAnswer(20000));
    ASSERT_TRUE(fetch.result.has_value());
    EXPECT_EQ(fetch.result->size(), 10u);  // what it kept: enough to see it is not a version
    ExpectSilent();
    EXPECT_TRUE(QTest::qWaitFor([&] { return clientLeft; }, 10000));
    EXPECT_LT(written, 256 * 1024 * 1024);
}

}  // namespace
}  // namespace vantrel
