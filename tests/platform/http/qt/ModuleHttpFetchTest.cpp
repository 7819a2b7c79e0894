// The program's fetcher loads the HTTP module it was built with and fetches through it; without
// the module every fetch fails the way a network failure does.
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/http/qt/ModuleHttpFetch.h"

namespace vantrel {
namespace {

struct Answers {
    int count = 0;
    std::optional<std::string> body;
    HttpDone Note() {
        return [this](std::optional<std::string> b) { ++count, body = std::move(b); };
    }
};

TEST(ModuleHttpFetchTest, FetchesThroughTheModuleBesideTheProgram) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [socket] {
            if (!socket->readAll().endsWith("\r\n\r\n")) return;
            socket->write("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\n001004000");
            socket->disconnectFromHost();
        });
    });
    qputenv("no_proxy", "127.0.0.1");
    ModuleHttpFetch fetch(VANTREL_PROGRAM_DIR);
    Answers answers;
    fetch.Start(
        {QStringLiteral("http://127.0.0.1:%1/v").arg(server.serverPort()).toStdString(), 64},
        answers.Note());
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.count > 0; }, 10000));
    EXPECT_EQ(answers.body, std::optional<std::string>("001004000"));
}

TEST(ModuleHttpFetchTest, WithoutTheModuleEachFetchFailsLaterAndOnlyWhileTheFetcherLives) {
    Answers answers, dropped;
    ModuleHttpFetch fetch("/nonexistent");
    fetch.Start({"http://127.0.0.1:9/v", 64}, answers.Note());
    EXPECT_EQ(answers.count, 0);  // never from inside Start: the caller may not be ready
    std::make_unique<ModuleHttpFetch>("/nonexistent")
        ->Start({"http://127.0.0.1:9/v", 64}, dropped.Note());
    QTest::qWait(50);
    EXPECT_EQ(answers.count, 1);
    EXPECT_EQ(answers.body, std::nullopt);
    EXPECT_EQ(dropped.count, 0);
}

}  // namespace
}  // namespace vantrel
