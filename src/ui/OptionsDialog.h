// The options window OptionsDialog: widgets that mirror OptionsModel and forward the user's edits
// to it, and the host that opens it once and keeps the model while it is loaded.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "core/options/OptionsModel.h"
#include "core/options/SettingsLinks.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;

namespace vantrel {

class LinkLabel;

class OptionsDialog : public QWidget {
    Q_OBJECT
  public:
    using LinkHandler = std::function<void(SettingsLink)>;

    // `model` must be loaded and outlive the window. `mainWindow` gives the icon and owns
    // the window (it may be null). The close box unloads the model and deletes the window.
    OptionsDialog(OptionsModel& model, LinkHandler openLink, QWidget* mainWindow);

    // Brings every widget in line with the model without reporting back to it.
    void Mirror();
    // Puts the keyboard focus on the first control of the tab order.
    void FocusFirstControl();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter presses OK (or Apply or Cancel when that has the focus) and Escape presses Cancel
    // (keys a control uses itself, such as Enter on a link, never arrive here).
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void BuildCaptions();
    void PlaceWidgets();
    void Connect();
    void MirrorTexts();
    void MirrorLists();
    void MirrorScrollControls();
    void MirrorChordLists();
    void NameForScreenReaders();
    // Runs an edit on the model, then mirrors it and hides the window when the model says so.
    void Edit(const std::function<void()>& change);
    QComboBox* ComboOf(Choice choice) const;

    OptionsModel& model_;
    LinkHandler openLink_;
    bool mirroring_ = false;

    std::array<QComboBox*, 5> combos_{};    // in Choice order
    std::array<QLabel*, 5> rowCaptions_{};  // the lists' captions, in the same order
    QCheckBox* startAtLogonBox_ = nullptr;
    QCheckBox* accelerationBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QLabel* creditLabel_ = nullptr;
    LinkLabel* mouseLink_ = nullptr;
    LinkLabel* controllerLink_ = nullptr;
    QLabel* joystickPicture_ = nullptr;

    // Below the first layout: the settings added since.
    QFrame* addedRule_ = nullptr;
    QCheckBox* scrollStickBox_ = nullptr;
    QLabel* scrollSpeedCaption_ = nullptr;
    QSlider* scrollSpeedSlider_ = nullptr;
    QLabel* scrollSlowLabel_ = nullptr;
    QLabel* scrollFastLabel_ = nullptr;
    QLabel* pauseChordCaption_ = nullptr;
    std::array<QComboBox*, 2> pauseLists_{};  // in ChordList order
};

// Owns the dialog model and the one OptionsDialog of the run; the main window keeps one host.
class OptionsDialogHost : public QObject {
    Q_OBJECT
  public:
    // `launcher` starts the settings programs of the two links and must outlive the host.
    OptionsDialogHost(Settings& settings, const LangText& texts, OptionsServices services,
                      ProcessLauncherPort& launcher, QWidget* mainWindow);
    ~OptionsDialogHost() override;

    // The tray menu's options entry: creates and loads the dialog when it does not exist,
    // otherwise only shows it; then brings it to the front.
    void Open();
    // Unloads the dialog (as after a language change), so the next Open loads anew.
    void Unload();

    // Null while the dialog is not created.
    OptionsDialog* Dialog() const { return dialog_; }
    OptionsModel& Model() { return model_; }

  private:
    OptionsModel model_;
    ProcessLauncherPort& launcher_;
    QPointer<QWidget> mainWindow_;
    QPointer<OptionsDialog> dialog_;
};

}  // namespace vantrel
