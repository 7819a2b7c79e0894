// The program's fetcher runs each fetch in a process of the program's own, which loads the HTTP
// module beside it; without a loadable module every fetch fails the way a network failure does.
#include <sys/stat.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <functional>

#include <gtest/gtest.h>

#include "platform/http/qt/ChildHttpFetch.h"
#include "platform/http/qt/HttpModule.h"
#include "platform/http/qt/ModuleHttpFetch.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

struct Answers {
    int count = 0;
    std::optional<std::string> body;
    HttpDone Note() {
        return [this](std::optional<std::string> b) { ++count, body = std::move(b); };
    }
};

// A plain HTTP server on loopback; `answer` writes the reply once the request has arrived.
class LoopbackServer {
  public:
    explicit LoopbackServer(std::function<void(QTcpSocket*)> answer) {
        qputenv("no_proxy", "127.0.0.1");
        listening_ = server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this, answer] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::disconnected, [this] { ++clientsGone; });
            QObject::connect(socket, &QTcpSocket::readyRead, [socket, answer] {
                if (socket->readAll().endsWith("\r\n\r\n")) answer(socket);
            });
        });
    }
    bool Listening() const { return listening_; }
    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/ver_vantrel.txt";
    }
    int clientsGone = 0;

  private:
    QTcpServer server_;
    bool listening_ = false;
};

const QString kProgram = QStringLiteral(VANTREL_PROGRAM_DIR "/vantrel");

TEST(ModuleHttpFetchTest, FetchesInAProcessOfTheProgramThroughTheModuleBesideIt) {
    LoopbackServer server([](QTcpSocket* socket) {
        socket->write("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\n001004000");
        socket->disconnectFromHost();
    });
    ASSERT_TRUE(server.Listening());
    ChildHttpFetch fetch(kProgram);
    Answers answers;
    fetch.Start({server.Url(), 64}, answers.Note());
    EXPECT_EQ(answers.count, 0);  // never from inside Start: the caller may not be ready
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.count > 0; }, 20000));
    EXPECT_EQ(answers.body, std::optional<std::string>("001004000"));
}

TEST(ModuleHttpFetchTest, EndlessHeadersEndTheFetchSilentlyAtItsMemoryBound) {
    constexpr qint64 kBound = 256ll << 20;  // far beyond what the fetch may hold
    qint64 written = 0;
    LoopbackServer server([&written](QTcpSocket* socket) {
        written += socket->write("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n");
        const QByteArray line = "X-Pad: " + QByteArray(64 * 1024, 'a') + "\r\n";
        auto more = [socket, line, &written, ended = std::make_shared<bool>(false)] {
            if (*ended || socket->state() != QAbstractSocket::ConnectedState) return;
            if (written < kBound) {
                if (socket->bytesToWrite() < line.size()) written += socket->write(line);
                return;
            }
            *ended = true;
            socket->write("\r\n001004000");  // what an unbounded reader would come to
            socket->disconnectFromHost();
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    });
    ASSERT_TRUE(server.Listening());
    // A bound that plain HTTP reaches soon: Qt reads a head from it a byte per system call.
    ChildHttpFetch fetch(kProgram, 32u << 20);
    Answers answers;
    using namespace std::chrono_literals;
    fetch.Start({server.Url(), 10, 1h}, answers.Note());  // the time-out never ends it
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.count > 0; }, 180000));
    EXPECT_EQ(answers.body, std::nullopt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.clientsGone > 0; }, 20000));
    EXPECT_LT(written, kBound);
}

TEST(ModuleHttpFetchTest, WithoutALoadableModuleEachFetchFailsLaterAndOnlyWhileTheFetcherLives) {
    test::TempDir fifo, text;
    ASSERT_EQ(::mkfifo((fifo / kHttpModuleFile).c_str(), 0600), 0);  // would block an open
    text.Write(kHttpModuleFile, "not a library");
    for (const std::filesystem::path& folder :
         {std::filesystem::path("/nonexistent"), fifo.path(), text.path()}) {
        Answers answers, dropped;
        std::make_unique<ModuleHttpFetch>(folder)->Start({"http://127.0.0.1:9/v", 64},
                                                         dropped.Note());
        ModuleHttpFetch fetch(folder);
        fetch.Start({"http://127.0.0.1:9/v", 64}, answers.Note());
        EXPECT_EQ(answers.count, 0) << folder;  // never from inside Start
        ASSERT_TRUE(QTest::qWaitFor([&] { return answers.count > 0; }, 10000)) << folder;
        EXPECT_EQ(answers.body, std::nullopt) << folder;
        EXPECT_EQ(dropped.count, 0) << folder;  // its answer, queued first, never came
    }
}

}  // namespace
}  // namespace vantrel
