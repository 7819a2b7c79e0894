#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/language/FileDialog.h"
#include "core/language/LanguageChoice.h"
#include "core/language/LanguageMenu.h"
#include "platform/desktop/qt/QtFileDialog.h"
#include "platform/desktop/qt/QtLocale.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

struct LocaleCase {
    QLocale::Language language;
    QLocale::Territory territory;
    const char* isoCode;
    const char* file;
};

class QtLocaleTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(QtLocaleTest, TerritoryPicksTheLanguageFile) {
    QtLocale locale(QLocale(GetParam().language, GetParam().territory));
    EXPECT_EQ(locale.TerritoryIsoCode(), GetParam().isoCode);
    Settings settings;
    ChooseLanguageFromLocale(settings, locale);
    EXPECT_EQ(settings.LanguageFile, GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Territories, QtLocaleTest,
    ::testing::Values(LocaleCase{QLocale::Italian, QLocale::Italy, "IT", "Italiano.lng"},
                      LocaleCase{QLocale::Portuguese, QLocale::Brazil, "BR", "Brazilian.lng"},
                      LocaleCase{QLocale::Portuguese, QLocale::Portugal, "PT", "Brazilian.lng"},
                      LocaleCase{QLocale::Turkish, QLocale::Turkey, "TR", "Turkish.lng"},
                      LocaleCase{QLocale::French, QLocale::Canada, "CA", "English.lng"},
                      LocaleCase{QLocale::English, QLocale::TrinidadAndTobago, "TT", "English.lng"},
                      LocaleCase{QLocale::Malay, QLocale::Brunei, "BN", "English.lng"}));

TEST(QtLocale, EnglishCountryNameAndNoRegion) {
    EXPECT_EQ(QtLocale(QLocale(QLocale::Italian, QLocale::Italy)).EnglishCountryName(), "Italy");
    QtLocale none(QLocale::c());
    EXPECT_EQ(none.TerritoryIsoCode(), "");
    EXPECT_EQ(none.EnglishCountryName(), "");
}

TEST(QtFileDialog, NameFilterJoinsDescriptionAndPatterns) {
    EXPECT_EQ(QtFileDialog::NameFilter({"Lingua", "*.lng"}), "Lingua (*.lng)");
    EXPECT_EQ(QtFileDialog::NameFilter({"Texts", "*.txt;*.lng"}), "Texts (*.txt *.lng)");
    EXPECT_EQ(QtFileDialog::NameFilter({"", "*.lng"}), "*.lng");
}

struct ModeCase {
    bool open;
    std::uint32_t flags;
    QFileDialog::AcceptMode acceptMode;
    QFileDialog::FileMode fileMode;
    bool confirmOverwrite;
};

class QtFileDialogModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(QtFileDialogModeTest, FlagsChooseTheMode) {
    const ModeCase& c = GetParam();
    QFileDialog dialog;
    FileDialogRequest request;
    request.open = c.open;
    QtFileDialog::Configure(dialog, request, c.flags);
    EXPECT_EQ(dialog.acceptMode(), c.acceptMode);
    EXPECT_EQ(dialog.fileMode(), c.fileMode);
    EXPECT_EQ(!dialog.testOption(QFileDialog::DontConfirmOverwrite), c.confirmOverwrite);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, QtFileDialogModeTest,
    ::testing::Values(ModeCase{true, 0, QFileDialog::AcceptOpen, QFileDialog::AnyFile, true},
                      ModeCase{true, kDialogFileMustExist, QFileDialog::AcceptOpen,
                               QFileDialog::ExistingFile, true},
                      ModeCase{true, kDialogAllowMultiSelect, QFileDialog::AcceptOpen,
                               QFileDialog::ExistingFiles, true},
                      ModeCase{false, 0, QFileDialog::AcceptSave, QFileDialog::AnyFile, false},
                      ModeCase{false, kDialogOverwritePrompt, QFileDialog::AcceptSave,
                               QFileDialog::AnyFile, true}));

TEST(QtFileDialog, LanguageRequestReachesTheDialog) {
    test::TempDir folder;
    folder.Write("Lang/English.lng", "01=x\r\n");
    LangText texts;
    texts[15] = "Language selection";
    texts[26] = "&Language...";
    QFileDialog dialog;
    QtFileDialog::Configure(dialog, LanguageDialogRequest(texts, folder.path()),
                            kDialogFileMustExist);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(),
              QDir(QString::fromStdString((folder.path() / "Lang").string())).canonicalPath());
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Language (*.lng)"});
    EXPECT_EQ(dialog.selectedNameFilter(), "Language (*.lng)");
    EXPECT_EQ(dialog.defaultSuffix(), "lng");
    EXPECT_EQ(dialog.windowTitle(), "Language selection");
}

TEST(QtFileDialog, FilterIndexAndTitle) {
    FileDialogRequest request;
    request.open = true;
    request.filters = {{"Languages", "*.lng"}, {"Texts", "*.txt"}};
    request.filterIndex = 2;
    QFileDialog second;
    QtFileDialog::Configure(second, request, 0);
    EXPECT_EQ(second.selectedNameFilter(), "Texts (*.txt)");
    EXPECT_FALSE(second.windowTitle().isEmpty());  // Qt's own title when none is asked for

    request.filterIndex = 3;
    QFileDialog outOfRange;
    QtFileDialog::Configure(outOfRange, request, 0);
    EXPECT_EQ(outOfRange.selectedNameFilter(), "Languages (*.lng)");
}

// Runs `answer` on the modal window of type T once it is showing.
template <typename T>
void WhenModalShows(std::function<void(T&)> answer) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, poll] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            answer(*window);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

class QtFileDialogRunTest : public ::testing::Test {
  protected:
    QtFileDialogRunTest() {
        folder.Write("Lang/a.lng", "01=a\r\n");
        folder.Write("Lang/b.lng", "01=b\r\n");
        request.open = true;
        request.initialFolder = (folder.path() / "Lang").string();
        request.filters = {{"Language", "*.lng"}};
    }
    std::string Native(const char* name) const {
        return QDir::toNativeSeparators(
                   QString::fromStdString((folder.path() / "Lang" / name).string()))
            .toStdString();
    }

    test::TempDir folder;
    FileDialogRequest request;
    QWidget owner;
    QtFileDialog port{&owner};
};

TEST_F(QtFileDialogRunTest, CancelGivesNothing) {
    WhenModalShows<QFileDialog>([](QFileDialog& d) { d.reject(); });
    std::uint32_t flags = kDialogFileMustExist;
    EXPECT_EQ(port.Run(request, flags), std::nullopt);
}

TEST_F(QtFileDialogRunTest, AcceptedFileComesBackAsANativePath) {
    QWidget* parent = nullptr;
    WhenModalShows<QFileDialog>([&](QFileDialog& d) {
        parent = d.parentWidget();
        d.selectFile(QString::fromStdString(Native("a.lng")));
        static_cast<QDialog&>(d).accept();
    });
    std::uint32_t flags = kDialogFileMustExist;
    EXPECT_EQ(port.Run(request, flags), std::vector<std::string>{Native("a.lng")});
    EXPECT_EQ(parent, &owner);
}

TEST_F(QtFileDialogRunTest, MultipleSelectionGivesEveryPath) {
    WhenModalShows<QFileDialog>([](QFileDialog& d) {
        auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
        if (edit == nullptr) {
            ADD_FAILURE() << "no file name box";
            d.reject();
            return;
        }
        edit->setText("\"a.lng\" \"b.lng\"");
        static_cast<QDialog&>(d).accept();
    });
    std::uint32_t flags = kDialogAllowMultiSelect;
    const std::vector<std::string> paths = ShowFileDialog(port, request, &flags);
    EXPECT_EQ(paths, (std::vector<std::string>{Native("a.lng"), Native("b.lng")}));
}

TEST_F(QtFileDialogRunTest, MissingFileIsRefusedWhenItMustExist) {
    bool stayedOpen = false;
    bool warned = false;
    WhenModalShows<QFileDialog>([&](QFileDialog& d) {
        WhenModalShows<QMessageBox>([&](QMessageBox& box) {
            warned = true;
            box.reject();
        });
        d.selectFile(QString::fromStdString(Native("missing.lng")));
        static_cast<QDialog&>(d).accept();  // returns once the warning is closed
        stayedOpen = d.isVisible();
        d.reject();
    });
    std::uint32_t flags = kDialogFileMustExist;
    EXPECT_EQ(port.Run(request, flags), std::nullopt);
    EXPECT_TRUE(warned);
    EXPECT_TRUE(stayedOpen);
}

}  // namespace
}  // namespace vantrel
