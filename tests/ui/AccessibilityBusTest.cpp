// The options dialog and the about window as a screen reader gets them: read through the
// desktop's accessibility bus by a real client (tests/support/atspi_read.py), in a private D-Bus
// session under X11 (see CMakeLists.txt), in English and in Italian.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <climits>
#include <map>
#include <numeric>
#include <set>

#include "core/info/Documents.h"
#include "core/text/CaptionText.h"
#include "core/text/LanguageFile.h"
#include "support/fakes/FakeOpener.h"
#include "support/fakes/FakeProcessLauncher.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsDialog.h"

namespace vantrel {
namespace {

struct Control {
    std::string role, spokenName;
    QRect box;
    QString firstAction;
};

// Runs the reader on the window titled `title` while this event loop answers its questions;
// returns the controls it found and the tab round (indexes into them).
std::pair<std::vector<Control>, std::vector<int>> ReadThroughBus(const QString& title) {
    QProcess reader;
    QEventLoop loop;
    QObject::connect(&reader, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reader, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(VANTREL_SOURCE_DIR "/tests/support/atspi_read.py"),
                  QString::number(QCoreApplication::applicationPid()), title});
    loop.exec();  // the reader gives up by itself when what it waits for never comes
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();

    const QVariantMap json =
        QJsonDocument::fromJson(reader.readAllStandardOutput()).toVariant().toMap();
    std::vector<Control> controls;
    for (const QVariant& value : json["controls"].toList()) {
        const QVariantMap c = value.toMap();
        const QVariantList box = c["box"].toList();
        // A list is spoken by the caption it is labelled by, else by the name it was given.
        const QString labelledBy = c["labelledBy"].toString();
        const QString name =
            c["role"] == "combo box" && !labelledBy.isEmpty() ? labelledBy : c["name"].toString();
        controls.push_back({c["role"].toString().toStdString(), name.toStdString(),
                            QRect(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt()),
                            c["actions"].toStringList().value(0)});
    }
    std::vector<int> tabRound;
    for (const QVariant& index : json["tab"].toList()) tabRound.push_back(index.toInt());
    return {controls, tabRound};
}

// Each control's role and spoken name; the tab round a turn of the reading order: columns
// (runs of overlapping horizontal extents) left to right, each top to bottom, then left to right.
void ExpectRead(const QString& title,
                const std::multiset<std::pair<std::string, std::string>>& expected) {
    const auto [controls, tabRound] = ReadThroughBus(title);
    std::multiset<std::pair<std::string, std::string>> read;
    for (const Control& control : controls) read.emplace(control.role, control.spokenName);
    EXPECT_EQ(read, expected);

    std::vector<int> order(controls.size()), column(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return controls[a].box.left() < controls[b].box.left(); });
    for (int i = 0, right = INT_MIN, current = 0; i < static_cast<int>(order.size()); ++i) {
        const QRect& box = controls[order[i]].box;
        current += box.left() > right ? 1 : 0;
        right = std::max(right, box.right());
        column[order[i]] = current;
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return std::tuple(column[a], controls[a].box.top(), controls[a].box.left()) <
               std::tuple(column[b], controls[b].box.top(), controls[b].box.left());
    });
    ASSERT_FALSE(tabRound.empty());
    std::rotate(order.begin(), std::find(order.begin(), order.end(), tabRound.front()),
                order.end());
    EXPECT_EQ(tabRound, order);
    for (const Control& control : controls)
        if (control.role == "link") {
            EXPECT_EQ(control.firstAction, "Press");
        }
}

class AccessibilityBusTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            LoadTexts(std::filesystem::path(VANTREL_SOURCE_DIR) / "resources", GetParam(), texts));
        launcher.programsOnPath = {"xfce4-mouse-settings", "jstest-gtk"};
        launcher.currentDesktops = "XFCE";
    }

    Settings settings = DefaultSettings();
    LangText texts;
    test::FakeProcessLauncher launcher;
    FakeOpener opener;
};

TEST_P(AccessibilityBusTest, OptionsDialogIsReadByCaptionInTabOrderAndItsLinksOpen) {
    OptionsDialogHost host(
        settings, texts,
        {[](JoystickInfo& caps) { caps = {.buttonCount = 4, .hasScrollStick = true}; },
         [] { return 1; }, [] { return true; }, [] { return true; }},
        launcher, nullptr);
    host.Open();

    std::multiset<std::pair<std::string, std::string>> expected;
    for (const auto& [role, lines] :
         std::map<std::string, std::vector<int>>{{"combo box", {17, 18, 19, 20, 21}},
                                                 {"check box", {22, 23, 41}},
                                                 {"slider", {42}},
                                                 {"push button", {1, 2, 3}},
                                                 {"link", {30, 31}}})
        for (int line : lines) expected.emplace(role, StripAccessKeys(texts[line]));
    for (const char* n : {"", " 2"}) expected.emplace("combo box", StripAccessKeys(texts[48]) + n);
    ExpectRead(host.Dialog()->windowTitle(), expected);

    const std::vector<std::vector<std::string>> started = {{"xfce4-mouse-settings"},
                                                           {"jstest-gtk"}};
    EXPECT_TRUE(QTest::qWaitFor([&] { return launcher.started.size() >= 2; }, 10000));
    EXPECT_EQ(launcher.started, started);
}

TEST_P(AccessibilityBusTest, AboutWindowsHomePageIsALinkAfterTheCredits) {
    AboutWindowHost host(opener);
    host.Show(texts);
    ExpectRead(host.Window()->windowTitle(),
               {{"filler", StripAccessKeys(texts[TextId::AboutTitle])},
                {"link", PageAddress(WebPage::Home)}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opener.addresses.empty(); }, 10000));
    EXPECT_EQ(opener.addresses, std::vector<std::string>{PageAddress(WebPage::Home)});
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibilityBusTest,
                         ::testing::Values("English.lng", "Italiano.lng"));

}  // namespace
}  // namespace vantrel
