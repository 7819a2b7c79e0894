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

TEST_F(QtOpenerTest, DocumentWithApostropheAndBlanks) {
    const std::filesystem::path file =
        std::filesystem::u8path("/opt/Vantrel è/Leggere prima dell'uso.txt");
    EXPECT_TRUE(opener.OpenDocument(file));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_TRUE(catcher.urls[0].isLocalFile());
    EXPECT_EQ(catcher.urls[0].toLocalFile(),
              QString::fromUtf8("/opt/Vantrel è/Leggere prima dell'uso.txt"));
}

TEST_F(QtOpenerTest, DocumentInAFolderNamedInAnotherEncoding) {  // as unzip leaves them
    EXPECT_TRUE(opener.OpenDocument("/opt/Programme-\xe9t\xe9/Lisez-moi.txt"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toEncoded(), "file:///opt/Programme-%E9t%E9/Lisez-moi.txt");
}

TEST_F(QtOpenerTest, WebAddress) {
    EXPECT_TRUE(opener.OpenAddress("https://www.vantrel.example/vantrel.html"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl("https://www.vantrel.example/vantrel.html"));
}

TEST_F(QtOpenerTest, MalformedAddressIsRefused) {
    EXPECT_FALSE(opener.OpenAddress("http://exa mple.example/%zz"));
    EXPECT_TRUE(catcher.urls.isEmpty());
}

}  // namespace
}  // namespace vantrel

#include "QtOpenerTest.moc"
