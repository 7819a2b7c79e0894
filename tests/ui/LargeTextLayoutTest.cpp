// The options dialog and the about window with large text: every shipped language, at the
// default font and with a 16-point application font; CMake runs the cases once more with
// QT_SCALE_FACTOR=2. No text may be cut off and no two controls may overlap. With
// VANTREL_SCREENSHOTS set, the windows are saved there as pictures.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <tuple>

#include "core/text/LanguageFile.h"
#include "support/fakes/FakeOpener.h"
#include "support/fakes/FakeProcessLauncher.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsDialog.h"

namespace vantrel {
namespace {

std::string Described(const QWidget* widget) {
    return widget->objectName().toStdString() + " " + std::to_string(widget->width()) + "x" +
           std::to_string(widget->height());
}

// A control's text fits when the size the toolkit asks for fits inside it (a wrapped label:
// the height it needs at its width; a push button: its text and margins, not the style's
// smallest button).
void ExpectTextFits(const QWidget* control) {
    QSize need = control->sizeHint();
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        const QStyle* style = button->style();
        need.setWidth(button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() +
                      style->pixelMetric(QStyle::PM_ButtonMargin) +
                      2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth));
    }
    if (const auto* label = qobject_cast<const QLabel*>(control); label && label->wordWrap()) {
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << Described(label);
    } else if (qobject_cast<const QLabel*>(control) || qobject_cast<const QComboBox*>(control) ||
               qobject_cast<const QAbstractButton*>(control)) {
        EXPECT_LE(need.width(), control->width()) << Described(control);
        EXPECT_LE(control->fontMetrics().height(), control->height()) << Described(control);
    }
}

// Each visible control's text fits, and no two visible siblings overlap.
void ExpectLaidOut(const QWidget* parent) {
    const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype a = 0; a < children.size(); ++a) {
        if (!children[a]->isVisible() || children[a]->isWindow()) continue;
        ExpectTextFits(children[a]);
        ExpectLaidOut(children[a]);
        for (qsizetype b = a + 1; b < children.size(); ++b)
            if (children[b]->isVisible() && !children[b]->isWindow()) {
                EXPECT_FALSE(children[a]->geometry().intersects(children[b]->geometry()))
                    << Described(children[a]) << " overlaps " << Described(children[b]);
            }
    }
}

class LargeTextLayoutTest : public ::testing::TestWithParam<std::tuple<std::string, int>> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadTexts(std::filesystem::path(VANTREL_SOURCE_DIR) / "resources",
                              std::get<0>(GetParam()) + ".lng", texts));
        if (std::get<1>(GetParam())) QApplication::setFont(QFont(defaultFont.family(), 16));
    }
    void TearDown() override { QApplication::setFont(defaultFont); }

    // Pictures of the two large cases for docs/: the large font at scale 1, scale 2 with the
    // usual font.
    void Save(QWidget* window, const char* name) const {
        const QString folder = qEnvironmentVariable("VANTREL_SCREENSHOTS");
        const bool scaled = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")) != "1";
        if (folder.isEmpty() || scaled == (std::get<1>(GetParam()) != 0)) return;
        window->grab().save(
            QStringLiteral("%1/%2-%3-%4.png")
                .arg(folder, name, QString::fromStdString(std::get<0>(GetParam())).toLower(),
                     scaled ? QStringLiteral("scale2") : QStringLiteral("large-font")));
    }

    const QFont defaultFont = QApplication::font();
    Settings settings = DefaultSettings();
    LangText texts;
};

TEST_P(LargeTextLayoutTest, BothWindowsShowEveryTextWhole) {
    test::FakeProcessLauncher launcher;
    OptionsDialogHost options(
        settings, texts,
        {[](JoystickInfo& caps) { caps = {.buttonCount = 12, .hasScrollStick = true}; },
         [] { return 2; }, [] { return true; }, [] { return true; }},
        launcher, nullptr);
    options.Open();
    ExpectLaidOut(options.Dialog());
    Save(options.Dialog(), "options");

    FakeOpener opener;
    AboutWindowHost about(opener);
    about.Show(texts);
    ExpectLaidOut(about.Window());
    // The credits scrolled up to their start, as a reader sees them.
    while (about.Window()->Scroller().Top() > 0) about.Window()->OnScrollTick();
    Save(about.Window(), "about");
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndFonts, LargeTextLayoutTest,
                         ::testing::Combine(::testing::Values("English", "Italiano", "French",
                                                              "Brazilian", "Turkish"),
                                            ::testing::Values(0, 16)),
                         [](const auto& info) {
                             return std::get<0>(info.param) +
                                    (std::get<1>(info.param) ? "_16" : "");
                         });

}  // namespace
}  // namespace vantrel
