// The about window offscreen: one instance, texts, scrolling, closing and the home-page link.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/info/Documents.h"
#include "support/fakes/FakeOpener.h"
#include "ui/AboutWindow.h"
#include "ui/Look.h"

namespace vantrel {
namespace {

class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        texts[14] = "Drives the pointer with a joystick.";
        texts[15] = "All rights reserved";
        texts[28] = "About Vantrel";
    }
    void TearDown() override { Flush(); }

    // Lets closed windows delete themselves.
    static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    AboutWindow* Open() {
        host.Show(texts);
        return host.Window();
    }
    template <typename T = QWidget>
    static T* Control(AboutWindow* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // Stops the clock so the test decides when the credits move.
    static void StopClock(AboutWindow* window) { Control<QTimer>(window, "scrollTimer")->stop(); }
    static int Px(int twips) {
        return TwipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchY());
    }

    FakeOpener opener;
    AboutWindowHost host{opener};
    LangText texts;
};

TEST_F(AboutWindowTest, ShowsTheTextsOnce) {
    AboutWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "aboutWindow");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "About Vantrel");
    EXPECT_EQ(Control<QLabel>(window, "titleLabel")->text(), "Vantrel Free");
    EXPECT_EQ(Control<QLabel>(window, "versionLabel")->text(), "Rel. 1.3.1");
    EXPECT_EQ(Control<QLabel>(window, "descriptionLabel")->text(),
              "Drives the pointer with a joystick.");
    EXPECT_EQ(Control<QLabel>(window, "homePageCaption")->text(), "Home Page:");
    EXPECT_EQ(Control<QLabel>(window, "homePageLink")->text().toStdString(),
              PageAddress(WebPage::Home));
    const QString credit =
        QString::fromUtf8("Copyright © 2026 Dorvane & Kestani - All rights reserved");
    EXPECT_EQ(Control<QLabel>(window, "copyrightLabel")->text(), credit);

    texts[28] = "Info";
    EXPECT_EQ(Open(), window);  // the same window, texts taken afresh, the suffix still once
    EXPECT_EQ(window->windowTitle(), "Info");
    EXPECT_EQ(Control<QLabel>(window, "copyrightLabel")->text(), credit);
}

TEST_F(AboutWindowTest, AmpersandIsShownOnce) {
    AboutWindow* window = Open();
    auto* label = Control<QLabel>(window, "copyrightLabel");
    // A mnemonic would swallow the "&" (and underline the blank after it).
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->buddy(), nullptr);
    const QString shown = label->text();
    EXPECT_EQ(shown.count('&'), 1);
}

TEST_F(AboutWindowTest, WindowShapeAndLook) {
    AboutWindow* window = Open();
    EXPECT_EQ(window->size(), QSize(Px(6375), Px(3645)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());  // fixed border
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);  // no task-bar entry
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_FALSE(window->isModal());

    auto* title = Control<QLabel>(window, "titleLabel");
    EXPECT_TRUE(title->font().bold());
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 15.75);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(2, 92, 202));
    auto* link = Control<QLabel>(window, "homePageLink");
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Control<QLabel>(window, "makerLogo")->size(), QSize(Px(2250), Px(1800)));
    EXPECT_FALSE(Control<QLabel>(window, "makerLogo")->pixmap().isNull());
    EXPECT_FALSE(Control<QLabel>(window, "imgTitle")->pixmap().isNull());
    EXPECT_EQ(Control<QWidget>(window, "scrollPanel")->parentWidget(),
              Control<QWidget>(window, "scrollViewport"));
    EXPECT_EQ(window->focusWidget(), Control<QWidget>(window, "scrollViewport"));
}

TEST_F(AboutWindowTest, ScrollsEveryTenMilliseconds) {
    AboutWindow* window = Open();
    auto* timer = Control<QTimer>(window, "scrollTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Scroller().Top() < 2200; }, 5000));
}

TEST_F(AboutWindowTest, RaisingKeepsTheScrollAndReopeningResetsIt) {
    AboutWindow* window = Open();
    StopClock(window);
    auto* panel = Control<QWidget>(window, "scrollPanel");
    EXPECT_EQ(panel->y(), Px(2200));
    for (int tick = 0; tick < 450; ++tick) window->OnScrollTick();  // into the pause
    EXPECT_EQ(window->Scroller().Top(), -1920);
    EXPECT_EQ(window->Scroller().PauseCount(), 38);
    EXPECT_EQ(panel->pos(), QPoint(Px(60), Px(-1920)));

    EXPECT_EQ(Open(), window);
    EXPECT_EQ(window->Scroller().Top(), -1920);
    EXPECT_EQ(window->Scroller().PauseCount(), 38);

    window->close();
    Flush();
    EXPECT_EQ(host.Window(), nullptr);
    AboutWindow* again = Open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Scroller().Top(), 2200);
    EXPECT_EQ(again->Scroller().PauseCount(), 0);
}

TEST_F(AboutWindowTest, EscapeOnTheViewportCloses) {
    AboutWindow* window = Open();
    auto* viewport = Control<QWidget>(window, "scrollViewport");
    QTest::keyClick(viewport, Qt::Key_A);
    QTest::keyClick(viewport, Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(viewport, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    Flush();
    EXPECT_EQ(host.Window(), nullptr);
}

class AboutClickTest : public AboutWindowTest,
                       public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(AboutClickTest, ClickClosesOnlyOnTheNamedControls) {
    const auto [name, closes] = GetParam();
    AboutWindow* window = Open();
    QWidget* target = std::string_view(name) == "aboutWindow" ? window : Control(window, name);
    ASSERT_NE(target, nullptr) << name;
    // Where nothing else covers the control (the form: its bottom-right corner).
    const QPoint at =
        target == window ? QPoint(window->width() - 2, window->height() - 2) : QPoint(1, 1);
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    Flush();
    EXPECT_EQ(host.Window() == nullptr, closes) << name;
    EXPECT_TRUE(opener.addresses.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Controls, AboutClickTest,
    ::testing::Values(std::pair{"aboutWindow", true}, std::pair{"imgTitle", true},
                      std::pair{"titleLabel", true}, std::pair{"versionLabel", true},
                      std::pair{"descriptionLabel", true}, std::pair{"copyrightLabel", true},
                      std::pair{"scrollViewport", false}, std::pair{"scrollPanel", false},
                      std::pair{"makerLogo", false}, std::pair{"homePageCaption", false},
                      std::pair{"titleRule", false}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(AboutWindowTest, RightClickDoesNotClose) {
    AboutWindow* window = Open();
    QTest::mouseClick(Control(window, "titleLabel"), Qt::RightButton, {}, QPoint(1, 1));
    Flush();
    EXPECT_NE(host.Window(), nullptr);
}

TEST_F(AboutWindowTest, LinkOpensTheHomePageAndKeepsTheWindow) {
    AboutWindow* window = Open();
    opener.succeeds = false;  // no browser: still nothing happens to the window
    QTest::mouseClick(Control(window, "homePageLink"), Qt::LeftButton, {}, QPoint(2, 2));
    Flush();
    ASSERT_EQ(host.Window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(opener.addresses, std::vector<std::string>{PageAddress(WebPage::Home)});
}

TEST_F(AboutWindowTest, HostClosesAWindowStillOpen) {
    QPointer<AboutWindow> window;
    {
        AboutWindowHost scoped(opener);
        scoped.Show(texts);
        window = scoped.Window();
        ASSERT_FALSE(window.isNull());
    }
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace vantrel
