#include "ui/OptionsDialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <cmath>
#include <cstdlib>

#include "core/settings/SettingsFile.h"
#include "core/startup/RunEntry.h"
#include "core/text/LanguageFile.h"
#include "support/TempDir.h"
#include "support/fakes/FakeOpener.h"
#include "support/fakes/FakeProcessLauncher.h"
#include "support/fakes/FakeRunEntry.h"
#include "ui/AboutWindow.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class OptionsDialogTest : public ::testing::Test {
  protected:
    OptionsDialogTest() {
        for (std::size_t i = 1; i < lang.size(); ++i) lang[i] = "E" + std::to_string(i);
        lang[1] = "&OK";
        lang[15] = "Credits";
        lang[16] = "Button";
        lang[29] = "Options";
        lang[17] = "&Left && more";
        settings.LanguageFile = "English.lng";
    }
    ~OptionsDialogTest() override {
        host.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    OptionsServices Services() {
        return OptionsServices{
            .readJoystickCaps =
                [this](JoystickInfo& caps) {
                    ++capsReads;
                    caps.name = "Pad";
                    caps.buttonCount = 4;
                    caps.hasScrollStick = hasScrollStick;
                },
            .joystickCount = [] { return 2; },
            .syncRunEntry = [this] { return SyncRunEntry(runEntry, settings, executable); },
            .saveSettings = [this] { return SaveSettings(settingsFile, settings); },
        };
    }

    OptionsDialog& OpenDialog() {
        host->Open();
        EXPECT_NE(host->Dialog(), nullptr);
        return *host->Dialog();
    }
    template <typename T>
    T* Child(const char* name) {
        T* child = host->Dialog()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // The lists in tab order, counted from 1.
    QComboBox* Combo(int n) {
        static constexpr const char* kNames[] = {"leftButtonList", "rightButtonList",
                                                 "middleButtonList", "speedList", "joystickList"};
        return Child<QComboBox>(kNames[n - 1]);
    }

    static void PickItem(QComboBox* combo, int index) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    test::TempDir folder;
    fs::path settingsFile = folder.path() / "Vantrel.ini";
    fs::path executable = folder.path() / "vantrel";
    Settings settings = DefaultSettings();
    LangText lang;
    FakeRunEntry runEntry;
    test::FakeProcessLauncher launcher;
    int capsReads = 0;
    bool hasScrollStick = true;
    std::unique_ptr<OptionsDialogHost> host =
        std::make_unique<OptionsDialogHost>(settings, lang, Services(), launcher, nullptr);
};

TEST_F(OptionsDialogTest, ShowsTheLoadedTextsAndValues) {
    OptionsDialog& dialog = OpenDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.objectName(), "optionsDialog");
    EXPECT_EQ(dialog.windowTitle(), "Options - Pad");

    EXPECT_EQ(Child<QLabel>("creditLabel")->text(), "Dorvane & Kestani - Credits");
    // Shown as "Left & more"; Alt+L reaches the list it captions.
    EXPECT_EQ(Child<QLabel>("leftButtonLabel")->text(), "&Left && more");
    EXPECT_EQ(Child<QLabel>("controllerSettingsLink")->text(), "E31");
    EXPECT_EQ(Child<QPushButton>("okButton")->text(), "&OK");  // the access key stays
    EXPECT_EQ(Child<QCheckBox>("accelerationBox")->text(), "E22");
    EXPECT_NE(Child<QLabel>("joystickPicture")->pixmap().toImage().pixel(79, 40),
              QColor(Qt::transparent).rgba());

    EXPECT_EQ(Combo(1)->count(), 4);
    EXPECT_EQ(Combo(1)->currentText(), "Button 1");
    EXPECT_EQ(Combo(3)->currentText(), "Button 3");
    EXPECT_EQ(Combo(4)->currentText(), "2");
    EXPECT_EQ(Combo(5)->currentText(), "1");
    EXPECT_TRUE(Child<QCheckBox>("startAtLogonBox")->isChecked());
    EXPECT_FALSE(Child<QPushButton>("applyButton")->isEnabled());
}

TEST_F(OptionsDialogTest, ClientAreaFollowsTheScreenDpi) {
    OptionsDialog& dialog = OpenDialog();
    const QScreen* screen = dialog.screen();
    ASSERT_NE(screen, nullptr);
    const auto px = [](int twips, double dpi) { return int(std::lrint(twips * dpi / 1440.0)); };
    EXPECT_EQ(dialog.size(), QSize(px(7380, screen->logicalDotsPerInchX()),
                                   px(6870, screen->logicalDotsPerInchY())));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    // Buttons left to right: OK, Apply, Cancel; the credit line left of them.
    const int ok = Child<QPushButton>("okButton")->x();
    const int apply = Child<QPushButton>("applyButton")->x();
    EXPECT_LT(ok, apply);
    EXPECT_LT(apply, Child<QPushButton>("cancelButton")->x());
    EXPECT_LT(Child<QLabel>("creditLabel")->x(), ok);
    EXPECT_EQ(Combo(1)->width(), 2 * Combo(4)->width());
    EXPECT_GT(Child<QCheckBox>("scrollStickBox")->y(), Child<QPushButton>("okButton")->y());
}

TEST_F(OptionsDialogTest, TabOrderRunsThroughListsChecksButtonsAndLinks) {
    OpenDialog();
    const QStringList expected = {"leftButtonList",    "rightButtonList",        "middleButtonList",
                                  "speedList",         "joystickList",           "okButton",
                                  "applyButton",       "cancelButton",           "scrollStickBox",
                                  "scrollSpeedSlider", "pauseFirstList",         "pauseSecondList",
                                  "mouseSettingsLink", "controllerSettingsLink", "accelerationBox",
                                  "startAtLogonBox"};
    QStringList order;
    QWidget* w = Combo(1);
    do {
        if (expected.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != Combo(1) && order.size() < expected.size());
    EXPECT_EQ(order, expected);
    for (const char* label : {"leftButtonLabel", "creditLabel", "joystickPicture"})
        EXPECT_EQ(Child<QLabel>(label)->focusPolicy(), Qt::NoFocus) << label;
    // A click on a link must not leave a focus frame on it.
    EXPECT_EQ(Child<QLabel>("mouseSettingsLink")->focusPolicy(), Qt::TabFocus);
}

TEST_F(OptionsDialogTest, PickingAnItemClearsTheListShowingItThroughTheModel) {
    OpenDialog();
    PickItem(Combo(2), 0);

    EXPECT_EQ(Combo(1)->currentText(), "");
    EXPECT_EQ(host->Model().List(Choice::Left).text, "");
    EXPECT_EQ(host->Model().List(Choice::Right).position, 0);
    EXPECT_TRUE(Child<QPushButton>("applyButton")->isEnabled());

    PickItem(Combo(3), 0);
    EXPECT_EQ(Combo(2)->currentText(), "");
    EXPECT_EQ(Combo(3)->currentText(), "Button 1");
}

TEST_F(OptionsDialogTest, TypingReachesTheModelAndKeepsTheCursor) {
    OpenDialog();
    QLineEdit* speed = Combo(4)->lineEdit();
    speed->setCursorPosition(0);
    QTest::keyClicks(speed, "1");
    EXPECT_EQ(speed->text(), "12");
    EXPECT_EQ(speed->cursorPosition(), 1);
    EXPECT_EQ(host->Model().List(Choice::Speed).text, "12");
    QTest::keyClick(speed, Qt::Key_Backspace);
    speed->end(false);
    QTest::keyClicks(speed, ".7");
    EXPECT_EQ(host->Model().List(Choice::Speed).text, "2.7");

    // Typing an item's text into a button list is not a pick, but still clears its twin.
    QLineEdit* left = Combo(1)->lineEdit();
    left->selectAll();
    QTest::keyClicks(left, "Button 2");
    EXPECT_EQ(Combo(2)->currentText(), "");
    EXPECT_EQ(left->text(), "Button 2");

    Child<QPushButton>("applyButton")->click();
    EXPECT_EQ(settings.PointerSpeed, "2.7");
    EXPECT_EQ(settings.LeftButton, 0);
    EXPECT_EQ(settings.RightButton, 0);
}

TEST_F(OptionsDialogTest, ApplyWritesTheSettingsFileAndTheRunEntry) {
    OpenDialog();
    PickItem(Combo(3), 3);
    Child<QCheckBox>("accelerationBox")->click();
    QSlider* scrollSpeed = Child<QSlider>("scrollSpeedSlider");
    scrollSpeed->triggerAction(QAbstractSlider::SliderToMaximum);
    Child<QCheckBox>("scrollStickBox")->click();
    EXPECT_FALSE(scrollSpeed->isEnabled());
    QComboBox* pause[] = {Child<QComboBox>("pauseFirstList"), Child<QComboBox>("pauseSecondList")};
    PickItem(pause[0], 2);
    PickItem(pause[1], 2);  // one button twice: refused, the list shows its own again
    EXPECT_EQ(pause[1]->currentText(), "");
    PickItem(pause[1], 3);
    QPushButton* apply = Child<QPushButton>("applyButton");
    ASSERT_TRUE(apply->isEnabled());
    apply->click();

    // Added settings away from their defaults follow the eight lines.
    EXPECT_EQ(ReadFile(settingsFile),
              "1\r\n2\r\n4\r\n2\r\n0\r\n1\r\n0\r\nEnglish.lng\r\n"
              "ScrollStick=0\r\nScrollSpeed=5\r\nPauseFirst=2\r\nPauseSecond=3\r\n");
    ASSERT_EQ(runEntry.writes.size(), 1u);
    EXPECT_EQ(runEntry.writes[0], executable);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(host->Dialog()->isVisible());

    Child<QCheckBox>("startAtLogonBox")->click();  // start at logon off
    Child<QCheckBox>("scrollStickBox")->click();   // back at their defaults: eight lines alone
    scrollSpeed->setValue(3);
    for (QComboBox* list : pause) PickItem(list, 0);  // no chord on a pad without Back and Start
    Child<QPushButton>("okButton")->click();
    EXPECT_EQ(runEntry.removes, 1);
    EXPECT_EQ(ReadFile(settingsFile), "1\r\n2\r\n4\r\n2\r\n0\r\n0\r\n0\r\nEnglish.lng\r\n");
    EXPECT_FALSE(host->Dialog()->isVisible());
}

TEST_F(OptionsDialogTest, PadWithoutASecondStickGreysTheScrollControlsAndSaysWhy) {
    hasScrollStick = false;
    OpenDialog();
    for (const char* name : {"scrollStickBox", "scrollSpeedSlider"}) {
        const QWidget* control = Child<QWidget>(name);
        EXPECT_FALSE(control->isEnabled()) << name;
        EXPECT_EQ(control->toolTip(), "E45") << name;
        EXPECT_EQ(control->accessibleDescription(), "E45") << name;
    }
}

TEST_F(OptionsDialogTest, CloseBoxUnloadsAndTheNextOpeningLoadsAnew) {
    QPointer<OptionsDialog> first = &OpenDialog();
    PickItem(Combo(5), 1);
    first->close();
    EXPECT_EQ(host->Model().State(), OptionsState::NotCreated);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(host->Dialog(), nullptr);

    OpenDialog();
    EXPECT_EQ(Combo(5)->currentText(), "1");
    EXPECT_FALSE(Child<QPushButton>("applyButton")->isEnabled());
    EXPECT_EQ(capsReads, 2);
}

TEST_F(OptionsDialogTest, UnloadOfAHiddenDialogTakesNewTextsAtTheNextOpening) {
    QPointer<OptionsDialog> first = &OpenDialog();
    Child<QPushButton>("cancelButton")->click();
    host->Unload();
    lang[29] = "Optionen";
    // Opened again before the old window is gone: a new one is made all the same.
    OpenDialog();
    EXPECT_NE(host->Dialog(), first.data());
    EXPECT_EQ(host->Dialog()->windowTitle(), "Optionen - Pad");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(host->Dialog(), nullptr);
}

TEST_F(OptionsDialogTest, EnterTakesTheTypedTextThenPressesOk) {
    OptionsDialog& dialog = OpenDialog();
    QLineEdit* speed = Combo(4)->lineEdit();
    speed->selectAll();
    QTest::keyClicks(speed, "7");
    // Typed, not picked: only Enter makes the item's text a choice.
    QLineEdit* middle = Combo(3)->lineEdit();
    middle->selectAll();
    QTest::keyClicks(middle, "Button 4");
    Combo(3)->setFocus();
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);

    EXPECT_EQ(ReadFile(settingsFile), "1\r\n2\r\n4\r\n7\r\n1\r\n1\r\n0\r\nEnglish.lng\r\n");
    EXPECT_FALSE(dialog.isVisible());
}

// Cancel clicked, or a key that does what Cancel does: hidden, nothing saved, the edits kept.
class CancelTest : public OptionsDialogTest,
                   public ::testing::WithParamInterface<std::pair<const char*, Qt::Key>> {};

TEST_P(CancelTest, HidesAndReopeningKeepsTheEdits) {
    const auto [control, key] = GetParam();
    OptionsDialog& dialog = OpenDialog();
    QCoreApplication::processEvents();  // active, so the focus is where the test puts it
    PickItem(Combo(5), 1);
    if (key == Qt::Key_unknown) {
        Child<QPushButton>(control)->click();
    } else {
        Child<QWidget>(control)->setFocus();
        QTest::keyClick(dialog.focusWidget(), key);
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(fs::exists(settingsFile));

    host->Open();
    EXPECT_EQ(host->Dialog(), &dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Combo(5)->currentText(), "2");  // the pick survives the look at the pads
    EXPECT_TRUE(Child<QPushButton>("applyButton")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelTest,
                         ::testing::Values(std::pair{"cancelButton", Qt::Key_unknown},
                                           std::pair{"accelerationBox", Qt::Key_Escape},
                                           std::pair{"speedList", Qt::Key_Escape},
                                           std::pair{"cancelButton", Qt::Key_Return}));

// The focus widget is where the keyboard focus lands as the window becomes active.
TEST_F(OptionsDialogTest, OpeningActivatesAndFocusesTheFirstControlEveryTime) {
    OptionsDialog& dialog = OpenDialog();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.isActiveWindow());
    EXPECT_EQ(dialog.focusWidget(), Combo(1));
    Child<QCheckBox>("startAtLogonBox")->setFocus();
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
    ASSERT_FALSE(dialog.isVisible());
    host->Open();
    EXPECT_EQ(dialog.focusWidget(), Combo(1));

    FakeOpener opener;
    AboutWindowHost about(opener);
    about.Show(lang);
    EXPECT_EQ(about.Window()->focusWidget(), about.Window()->findChild<QWidget*>("scrollViewport"));
}

// A link starts the desktop's settings program by a click, Enter or Space, shows its focus and
// leaves the dialog open; with no program to start it does nothing.
TEST_F(OptionsDialogTest, LinksStartTheDesktopsSettingsProgramsAndLeaveTheDialogOpen) {
    launcher.programsOnPath = {"xfce4-mouse-settings"};
    launcher.currentDesktops = "XFCE";
    OptionsDialog& dialog = OpenDialog();
    QLabel* mouse = Child<QLabel>("mouseSettingsLink");
    QLabel* controller = Child<QLabel>("controllerSettingsLink");
    for (QLabel* link : {mouse, controller}) QTest::mouseClick(link, Qt::LeftButton, {}, {2, 2});
    using Started = std::vector<std::vector<std::string>>;
    EXPECT_EQ(launcher.started, (Started{{"xfce4-mouse-settings"}}));  // no game-controller program
    EXPECT_EQ(mouse->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Combo(1)->cursor().shape(), Qt::PointingHandCursor);

    launcher.programsOnPath.push_back("jstest-gtk");
    launcher.started.clear();
    QCoreApplication::processEvents();  // active, so the focus is drawn
    for (const auto& [link, key] :
         {std::pair{mouse, Qt::Key_Return}, {controller, Qt::Key_Space}}) {
        const QImage unfocused = link->grab().toImage();
        link->setFocus(Qt::TabFocusReason);
        EXPECT_NE(link->grab().toImage(), unfocused) << link->objectName().toStdString();
        QTest::keyClick(dialog.focusWidget(), key);
    }
    EXPECT_EQ(launcher.started, (Started{{"xfce4-mouse-settings"}, {"jstest-gtk"}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(fs::exists(settingsFile));
}

// What a screen reader is told about each control that takes the keyboard focus.
class DialogNamesTest : public OptionsDialogTest,
                        public ::testing::WithParamInterface<const char*> {
  protected:
    static void ExpectNamed(QWidget* window) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!(control->focusPolicy() & Qt::TabFocus) || control->focusProxy() != nullptr ||
                !control->isVisibleTo(window))
                continue;
            const QString name =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            EXPECT_FALSE(name.trimmed().isEmpty()) << control->objectName().toStdString();
            EXPECT_FALSE(name.contains(QRegularExpression("&[^&\\s]"))) << name.toStdString();
        }
    }
};

TEST_P(DialogNamesTest, EveryFocusableControlHasANameInTheLanguage) {
    ASSERT_TRUE(LoadTexts(fs::path(VANTREL_SOURCE_DIR) / "resources", GetParam(), lang));
    OptionsDialog& dialog = OpenDialog();
    ExpectNamed(&dialog);
    EXPECT_EQ(Child<QLabel>("speedLabel")->buddy(), Combo(4));
    EXPECT_FALSE(Child<QLabel>("joystickPicture")->accessibleDescription().isEmpty());

    FakeOpener opener;
    AboutWindowHost about(opener);
    about.Show(lang);
    ExpectNamed(about.Window());
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogNamesTest,
                         ::testing::Values("English.lng", "Italiano.lng", "French.lng",
                                           "Brazilian.lng", "Turkish.lng"));

TEST_F(OptionsDialogTest, LongTranslationsShrinkInsteadOfBeingCut) {
    lang[15] = "Scelta della lingua";
    OpenDialog();
    QLabel* credit = Child<QLabel>("creditLabel");
    const double designedPoints =
        Child<QLabel>("mouseSettingsLink")->font().pointSizeF() * 12.0 / 11.25;
    EXPECT_LT(credit->font().pointSizeF(), designedPoints);
    EXPECT_LE(QFontMetrics(credit->font()).horizontalAdvance(credit->text()),
              credit->contentsRect().width());
    EXPECT_TRUE(credit->font().bold());
    EXPECT_TRUE(credit->font().italic());

    // The next load with a short text shows the layout's own size again.
    host->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    lang[15] = "";
    OpenDialog();
    EXPECT_DOUBLE_EQ(Child<QLabel>("creditLabel")->font().pointSizeF(), designedPoints);
}

}  // namespace
}  // namespace vantrel
