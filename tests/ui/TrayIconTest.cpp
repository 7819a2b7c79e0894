// The popup menu behind the tray icon, and which clicks on the icon open it (offscreen).
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QSet>
#include <map>
#include <string>
#include <vector>

#include "ui/Look.h"
#include "ui/TrayIcon.h"

namespace vantrel {
namespace {

// Each entry as the table has it, reporting its own action when chosen.
TEST(TrayIconMenu, MirrorsTheMenuModel) {
    TrayIcon tray;
    std::vector<MenuAction> chosen;
    QObject::connect(&tray, &TrayIcon::menuChosen,
                     [&chosen](MenuAction action) { chosen.push_back(action); });
    QMenu& menu = tray.Menu();
    EXPECT_EQ(menu.objectName(), "trayMenu");
    EXPECT_EQ(menu.title(), "Vantrel");
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 15);
    for (std::size_t i = 0; i < kTrayMenuSize; ++i) {
        SCOPED_TRACE(i);
        const MenuEntry& entry = TrayMenuEntries()[i];
        QAction* action = actions[static_cast<qsizetype>(i)];
        EXPECT_EQ(tray.Entry(i), action);
        EXPECT_EQ(action->objectName().toStdString(), entry.name);
        EXPECT_EQ(action->isSeparator(), entry.IsSeparator());
        if (!entry.IsSeparator()) {
            EXPECT_EQ(action->text().toStdString(), entry.builtInCaption);
        }
        EXPECT_EQ(action->isCheckable(), entry.checkable);
        EXPECT_TRUE(action->icon().isNull()) << "no picture before they are attached";
        chosen.clear();
        action->trigger();
        EXPECT_EQ(chosen, entry.IsSeparator() ? std::vector<MenuAction>{}
                                              : std::vector<MenuAction>{entry.action});
    }
    EXPECT_EQ(tray.Entry(15), nullptr);
}

TEST(TrayIconMenu, LanguageTextsReplaceTheCaptions) {
    // Each entry's language line and the caption it holds.
    const std::map<std::string, std::pair<int, std::string>> captions = {
        {"options", {7, "&Options..."}},
        {"pause", {46, "&Pause the joystick"}},
        {"language", {26, "&Language..."}},
        {"moreLanguages", {27, "Add a language && more..."}},
        {"donation", {8, "Make a &donation..."}},
        {"updates", {9, "&Check for updates..."}},
        {"license", {10, "Licence..."}},
        {"versionHistory", {11, "Program &versions..."}},
        {"about", {12, "&About..."}},
        {"exit", {13, "E&xit"}},
    };
    TrayIcon tray;
    LangText texts;
    for (const auto& [name, caption] : captions) texts[caption.first] = caption.second;
    tray.ApplyMenuTexts(texts);
    for (QAction* action : tray.Menu().actions()) {
        if (action->isSeparator()) continue;
        EXPECT_EQ(action->text().toStdString(),
                  captions.at(action->objectName().toStdString()).second);
    }
}

TEST(TrayIconMenu, PicturesOnExactlySixEntries) {
    TrayIcon tray;
    tray.SetMenuBitmaps();
    const QSet<int> pictured = {0, 6, 8, 10, 12, 14};
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        const QIcon icon = tray.Entry(static_cast<std::size_t>(i))->icon();
        EXPECT_EQ(!icon.isNull(), pictured.contains(i));
        if (pictured.contains(i)) {
            EXPECT_EQ(icon.pixmap(QSize(16, 16)).size(), QSize(13, 13));
            EXPECT_TRUE(tray.Entry(static_cast<std::size_t>(i))->isIconVisibleInMenu());
        }
    }
    // The same pictures the table names, at the positions it names.
    const QImage exitPicture = MenuPictureIcon(MenuPicture::Exit).pixmap(13, 13).toImage();
    EXPECT_EQ(tray.Entry(14)->icon().pixmap(13, 13).toImage(), exitPicture);
    EXPECT_NE(tray.Entry(0)->icon().pixmap(13, 13).toImage(), exitPicture);
    // Separators and positions outside the menu take none.
    const QIcon picture = MenuPictureIcon(MenuPicture::Options);
    EXPECT_FALSE(tray.SetMenuBitmap(2, picture));
    EXPECT_FALSE(tray.SetMenuBitmap(15, picture));
    EXPECT_TRUE(tray.Entry(2)->icon().isNull());
    EXPECT_TRUE(tray.SetMenuBitmap(1, picture));
    EXPECT_FALSE(tray.Entry(1)->icon().isNull());
}

struct ActivationCase {
    QSystemTrayIcon::ActivationReason reason;
    bool opens;
};

class TrayIconActivation : public ::testing::TestWithParam<ActivationCase> {};

TEST_P(TrayIconActivation, LeftAndRightClicksOpenTheMenuAtThePointer) {
    TrayIcon tray;
    const QPoint pointer(200, 150);
    QCursor::setPos(pointer);
    emit tray.SystemTrayIcon().activated(GetParam().reason);
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.Menu().isVisible(), GetParam().opens);
    if (GetParam().opens) {
        EXPECT_EQ(tray.Menu().pos(), pointer);
    }
    tray.Menu().hide();
}

INSTANTIATE_TEST_SUITE_P(Reasons, TrayIconActivation,
                         ::testing::Values(ActivationCase{QSystemTrayIcon::Trigger, true},
                                           ActivationCase{QSystemTrayIcon::Context, true},
                                           ActivationCase{QSystemTrayIcon::MiddleClick, false},
                                           ActivationCase{QSystemTrayIcon::DoubleClick, false},
                                           ActivationCase{QSystemTrayIcon::Unknown, false}));

TEST(TrayIconActivationRepeat, ASecondClickWhileOpenKeepsTheMenuWhereItIs) {
    TrayIcon tray;
    QCursor::setPos(QPoint(100, 100));
    emit tray.SystemTrayIcon().activated(QSystemTrayIcon::Trigger);
    QCursor::setPos(QPoint(300, 300));
    emit tray.SystemTrayIcon().activated(QSystemTrayIcon::Context);
    emit tray.SystemTrayIcon().activated(QSystemTrayIcon::DoubleClick);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tray.Menu().isVisible());
    EXPECT_EQ(tray.Menu().pos(), QPoint(100, 100));
    tray.Menu().hide();
}

TEST(TrayIconWithoutNotificationArea, RunsOnAndSaysSoOnce) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "offscreen has no tray";
    TrayIcon tray;
    ::testing::internal::CaptureStderr();
    tray.AddTrayIcon();
    const std::string err = ::testing::internal::GetCapturedStderr();
    // Exactly one line of ours (Qt may add warnings of its own on this platform).
    const std::string line = "vantrel: no notification area found, running without a tray icon\n";
    const auto at = err.find(line);
    EXPECT_NE(at, std::string::npos) << err;
    EXPECT_EQ(err.find("notification area", at + line.size()), std::string::npos) << err;
    EXPECT_TRUE(tray.SystemTrayIcon().toolTip().isEmpty());
    EXPECT_FALSE(tray.SystemTrayIcon().icon().isNull());
    tray.RemoveTrayIcon();
    tray.RemoveTrayIcon();  // a second removal is harmless
    EXPECT_FALSE(tray.SystemTrayIcon().isVisible());
}

// The picture and the tooltip of each state, kept through adding the icon and a new language.
TEST(TrayIconState, PictureAndTooltipFollowTheStateAndTheLanguage) {
    const auto picture = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
    TrayIcon tray;
    LangText texts;
    texts[TextId::PausedTooltip] = "paused";
    tray.ShowState(TrayState::Paused, texts);
    tray.AddTrayIcon();
    EXPECT_EQ(picture(tray.SystemTrayIcon().icon()), picture(TrayStateIcon(TrayState::Paused)));
    EXPECT_NE(picture(tray.SystemTrayIcon().icon()), picture(ProgramIcon()));
    EXPECT_EQ(tray.SystemTrayIcon().toolTip(), "paused");
    texts[TextId::PausedTooltip] = "en pause";
    tray.ApplyMenuTexts(texts);
    EXPECT_EQ(tray.SystemTrayIcon().toolTip(), "en pause");
    tray.ShowState(TrayState::Normal, texts);
    EXPECT_EQ(picture(tray.SystemTrayIcon().icon()), picture(ProgramIcon()));
    EXPECT_TRUE(tray.SystemTrayIcon().toolTip().isEmpty());
}

}  // namespace
}  // namespace vantrel
