// The options dialog and the about window as a screen reader gets them: read through the
// desktop's accessibility bus by a real client (tests/support/atspi_read.py), in a private D-Bus
// session under X11 (see CMakeLists.txt), in English and in Italian.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <map>

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
    QStringList actions;
};

struct Reading {
    std::vector<Control> controls;
    std::vector<int> tabRound;  // indexes into controls, from the focused one
};

// Runs the reader on the window titled `title` while this event loop answers its questions.
Reading ReadThroughBus(const QString& title) {
    QProcess reader;
    QEventLoop loop;
    QObject::connect(&reader, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reader, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(VANTREL_SOURCE_DIR "/tests/support/atspi_read.py"),
                  QString::number(QCoreApplication::applicationPid()), title});
    loop.exec();  // the reader gives up by itself when what it waits for never comes
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();

    Reading reading;
    const QJsonObject json = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    for (const QJsonValue& value : json["controls"].toArray()) {
        const QJsonObject c = value.toObject();
        const QJsonArray box = c["box"].toArray();
        // A list is spoken by the caption it is labelled by; its own name is its value.
        const bool byCaption = c["role"].toString() == "combo box";
        reading.controls.push_back(
            {c["role"].toString().toStdString(),
             c[byCaption ? "labelledBy" : "name"].toString().toStdString(),
             QRect(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt()),
             c["actions"].toVariant().toStringList()});
    }
    for (const QJsonValue& index : json["tab"].toArray()) reading.tabRound.push_back(index.toInt());
    return reading;
}

// Reading order: columns (controls whose horizontal extents overlap) from left to right, each
// from top to bottom, then left to right.
std::vector<int> VisualOrder(const std::vector<Control>& controls) {
    std::vector<int> order(controls.size());
    std::vector<int> column(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) order[i] = column[i] = static_cast<int>(i);
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t a = 0; a < controls.size(); ++a)
            for (std::size_t b = 0; b < controls.size(); ++b) {
                const QRect &ra = controls[a].box, &rb = controls[b].box;
                if (column[a] != column[b] && ra.left() <= rb.right() && rb.left() <= ra.right()) {
                    std::replace(column.begin(), column.end(), std::max(column[a], column[b]),
                                 std::min(column[a], column[b]));
                    merged = true;
                }
            }
    }
    std::map<int, int> columnLeft;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto [at, fresh] = columnLeft.emplace(column[i], controls[i].box.left());
        if (!fresh) at->second = std::min(at->second, controls[i].box.left());
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const QRect &ra = controls[a].box, &rb = controls[b].box;
        return std::tuple(columnLeft[column[a]], ra.top(), ra.left()) <
               std::tuple(columnLeft[column[b]], rb.top(), rb.left());
    });
    return order;
}

// Each control's role and spoken name, and the tab round as a turn of the reading order.
void ExpectRead(const Reading& reading, std::multimap<std::string, std::string> expected) {
    std::multimap<std::string, std::string> read;
    for (const Control& control : reading.controls) read.emplace(control.role, control.spokenName);
    EXPECT_EQ(read, expected);

    std::vector<int> visual = VisualOrder(reading.controls);
    ASSERT_FALSE(reading.tabRound.empty());
    const auto first = std::find(visual.begin(), visual.end(), reading.tabRound.front());
    std::rotate(visual.begin(), first, visual.end());
    EXPECT_EQ(reading.tabRound, visual);
    for (const Control& control : reading.controls)
        if (control.role == "link") EXPECT_EQ(control.actions.value(0), "Press");
}

std::string Spoken(const LangText& texts, TextId id) {
    return StripAccessKeys(texts[id]);
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
    OptionsDialogHost host(settings, texts,
                           {[](JoystickInfo& caps) { caps.buttonCount = 4; }, [] { return 1; },
                            [] { return true; }, [] { return true; }},
                           launcher, nullptr);
    host.Open();
    const Reading reading = ReadThroughBus(host.Dialog()->windowTitle());

    std::multimap<std::string, std::string> expected;
    for (TextId id : {TextId::LeftButtonCaption, TextId::RightButtonCaption,
                      TextId::MiddleButtonCaption, TextId::SpeedCaption, TextId::JoystickCaption})
        expected.emplace("combo box", Spoken(texts, id));
    for (TextId id : {TextId::AccelerationCaption, TextId::StartAtLogonCaption})
        expected.emplace("check box", Spoken(texts, id));
    for (TextId id : {TextId::OkButton, TextId::ApplyButton, TextId::CancelButton})
        expected.emplace("push button", Spoken(texts, id));
    for (TextId id : {TextId::MouseSettingsLink, TextId::ControllerSettingsLink})
        expected.emplace("link", Spoken(texts, id));
    ExpectRead(reading, expected);

    const std::vector<std::vector<std::string>> started = {{"xfce4-mouse-settings"},
                                                           {"jstest-gtk"}};
    EXPECT_TRUE(QTest::qWaitFor([&] { return launcher.started.size() >= 2; }, 10000));
    EXPECT_EQ(launcher.started, started);
}

TEST_P(AccessibilityBusTest, AboutWindowsHomePageIsALinkAfterTheCredits) {
    AboutWindowHost host(opener);
    host.Show(texts);
    const Reading reading = ReadThroughBus(host.Window()->windowTitle());

    ExpectRead(reading, {{"filler", Spoken(texts, TextId::AboutTitle)},
                         {"link", PageAddress(WebPage::Home)}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opener.addresses.empty(); }, 10000));
    EXPECT_EQ(opener.addresses, std::vector<std::string>{PageAddress(WebPage::Home)});
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibilityBusTest,
                         ::testing::Values("English.lng", "Italiano.lng"), [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace vantrel
