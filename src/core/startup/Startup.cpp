#include "core/startup/Startup.h"

#include "core/engine/JoystickDiscovery.h"

namespace vantrel {

int ExitStatus(StartOutcome outcome) {
    switch (outcome) {
        case StartOutcome::Running:
            return 0;
        case StartOutcome::NoJoystick:
            return 2;
        case StartOutcome::SecondInstance:
            return 3;
    }
    return 1;
}

std::string SecondInstanceText(const LangText& texts, const std::string& programName) {
    return texts[TextId::AlreadyRunningBefore] + " " + programName + " " +
           texts[TextId::AlreadyRunningAfter];
}

std::string NoJoystickText(const LangText& texts) {
    return texts[TextId::NoJoystickFirst] + kParagraphBreak + texts[TextId::NoJoystickSecond];
}

void Startup::Initialize() {
    steps_.WriteManifest();
}

StartOutcome Startup::Start() {
    steps_.SetMenuBitmaps();
    state_.joystickCount = steps_.CountJoysticks();
    const SettingsLoad found = steps_.LoadSettings(state_.settings);

    // Even on a first start the texts come from the locale's language, so no message or
    // window is blank; only the logon entry waits until the user has saved settings once.
    steps_.ChooseLanguageFromLocale(state_.settings);
    steps_.LoadTexts(state_.settings.LanguageFile, state_.texts);
    steps_.ApplyMenuTexts(state_.texts);
    if (found == SettingsLoad::Found) steps_.SyncRunEntry(state_.settings);

    if (steps_.AnotherInstanceRunning()) {
        steps_.ShowWarning(state_.texts[TextId::MessageTitle],
                           SecondInstanceText(state_.texts, programName_));
        return StartOutcome::SecondInstance;
    }

    JoystickInfo caps;
    steps_.ReadJoystickInfo(state_.settings, caps);
    // Only now, when nothing else was ever chosen; the file saved later holds these numbers.
    if (found == SettingsLoad::Missing) TakeMappedButtons(caps, state_.settings);

    if (state_.joystickCount == 0) {
        steps_.ShowWarning(state_.texts[TextId::MessageTitle], NoJoystickText(state_.texts));
        steps_.RemoveTrayIcon();
        return StartOutcome::NoJoystick;
    }
    steps_.StartPolling(kPollIntervalMs);
    steps_.AddTrayIcon();
    steps_.HideWindow();
    steps_.CheckForUpdates();
    return StartOutcome::Running;
}

void Startup::Shutdown() {
    if (unloaded_) return;
    unloaded_ = true;
    steps_.SaveSettings(state_.settings);  // an unwritable folder is ignored: nothing to report
    steps_.RemoveTrayIcon();
}

}  // namespace vantrel
