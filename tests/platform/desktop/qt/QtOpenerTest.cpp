// Documents reach the desktop as proper file addresses, whatever their names hold.
#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

#include "platform/desktop/qt/QtOpener.h"

namespace vantrel {
namespace {

// Stands in for the desktop's handler of a URL scheme.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

class QtOpenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* scheme : {"file", "http", "https"}) {
            QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
        }
    }
    void TearDown() override {
        for (const char* scheme : {"file", "http", "https"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    UrlCatcher catcher;
    QtOpener opener;
};

// A document whose name holds an apostrophe, blanks and an accent; one in a folder named in
// another encoding, as unzip leaves them; a web address.
TEST_F(QtOpenerTest, EachReachesTheDesktopAsOneProperAddress) {
    const struct {
        std::string target;
        bool document;
        std::string url;
    } cases[] = {{"/opt/Vantrel \xc3\xa8/Leggere prima dell'uso.txt", true,
                  "file:///opt/Vantrel%20%C3%A8/Leggere%20prima%20dell%27uso.txt"},
                 {"/opt/Programme-\xe9t\xe9/Lisez-moi.txt", true,
                  "file:///opt/Programme-%E9t%E9/Lisez-moi.txt"},
                 {"https://www.vantrel.example/vantrel.html", false,
                  "https://www.vantrel.example/vantrel.html"}};
    for (const auto& c : cases) {
        catcher.urls.clear();
        EXPECT_TRUE(c.document ? opener.OpenDocument(c.target) : opener.OpenAddress(c.target));
        ASSERT_EQ(catcher.urls.size(), 1) << c.target;
        EXPECT_EQ(catcher.urls[0].toEncoded().toStdString(), c.url);
    }
}

TEST_F(QtOpenerTest, MalformedAddressIsRefused) {
    EXPECT_FALSE(opener.OpenAddress("http://exa mple.example/%zz"));
    EXPECT_TRUE(catcher.urls.isEmpty());
}

}  // namespace
}  // namespace vantrel

#include "QtOpenerTest.moc"
