#include "core/program/ProgramRun.h"

#include <cstdio>
#include <utility>

#include "core/engine/JoystickDiscovery.h"
#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "core/language/LanguageChoice.h"
#include "core/language/LanguageMenu.h"
#include "core/settings/SettingsFile.h"
#include "core/startup/Manifest.h"
#include "core/startup/RunEntry.h"

namespace vantrel {

ProgramRun::ProgramRun(ProgramState& state, const ProgramPorts& ports, ProgramLocation location,
                       ProgramView& view)
    : state_(state),
      ports_(ports),
      location_(std::move(location)),
      files_(location_.Files()),
      view_(view),
      engine_(ports.joystick, ports.pointer, ports.buttons, state.settings, ports.scroll),
      scheduler_(engine_, ports.joystick, view, ports.wake ? *ports.wake : noWakeSource_) {
    engine_.SetPauseHandler([this](bool paused) {
        view_.ShowTrayState(paused ? TrayState::Paused : TrayState::Normal, state_.texts);
    });
}

// --- start-up and shutdown ---

void ProgramRun::Initialize() {
    // The manifest works only beside the executable; a program folder that is not the program's
    // to write (a package's) gets none rather than a file its owner does not know.
    if (!files_.programFolderWritable) return;
    // Start-up goes on whatever happened; the next start tries again.
    static_cast<void>(
        WriteManifest(location_.folder, location_.BaseName(), ports_.manifestPlatform));
}

StartOutcome ProgramRun::Start() {
    view_.SetMenuBitmaps();
    state_.joystickCount = CountJoysticks(ports_.joystick);
    engine_.SetJoystickCount(state_.joystickCount);
    const SettingsLoad found = LoadSettings(files_.SettingsFileToRead(), state_.settings);

    // Even on a first start the texts come from the locale's language, so no message or
    // window is blank; only the logon entry waits until the user has saved settings once.
    ChooseLanguageFromLocale(state_.settings, ports_.locale);
    // When not even English can be read the built-in texts stay; the run goes on.
    static_cast<void>(LoadTextsOrLocaleLanguage(files_.languageRoots, state_.settings.LanguageFile,
                                                ports_.locale, state_.texts));
    view_.ApplyMenuTexts(state_.texts);
    // Failures leave the entry as it was; there is nobody to tell.
    if (found == SettingsLoad::Found) static_cast<void>(SyncRunEntryNow());

    if (ports_.anotherInstanceRunning && ports_.anotherInstanceRunning()) {
        Warn(SecondInstanceText(state_.texts, location_.BaseName()));
        return StartOutcome::SecondInstance;
    }

    JoystickInfo caps;
    ReadJoystickInfo(ports_.joystick, state_.settings, caps);
    // Only now, when nothing else was ever chosen; the file saved later holds these numbers.
    if (found == SettingsLoad::Missing) TakeMappedButtons(caps, state_.settings);
    engine_.SetBackStartButtons(caps.backStartButtons);

    if (state_.joystickCount == 0) {
        Warn(NoJoystickText(state_.texts));
        view_.RemoveTrayIcon();
        return StartOutcome::NoJoystick;
    }
    scheduler_.Start();
    view_.AddTrayIcon();
    view_.HideWindow();
    view_.StartUpdateCheckTimer(kUpdateCheckDelay);
    return StartOutcome::Running;
}

void ProgramRun::Shutdown() {
    if (endedAtOnce_ || shutDown_) return;
    shutDown_ = true;
    view_.StopUpdateCheckTimer();  // an ending program asks about no update
    scheduler_.Stop();
    engine_.ReleaseHeldButton();
    static_cast<void>(SaveSettingsNow());  // an unwritable folder is said on standard error only
    view_.RemoveTrayIcon();
}

void ProgramRun::Warn(const std::string& text) {
    ports_.messageBoxes.Warning(state_.texts[TextId::MessageTitle], text);
}

bool ProgramRun::ApplySettings() {
    // Another joystick may be in use now, with a Back and Start of its own.
    JoystickInfo caps;
    ReadJoystickInfo(ports_.joystick, state_.settings, caps);
    engine_.SetBackStartButtons(caps.backStartButtons);
    scheduler_.OnSettingsChanged();
    return SaveSettingsOrWarn();
}

bool ProgramRun::SaveSettingsOrWarn() {
    const bool saved = SaveSettingsIn(files_, state_.settings);
    // Said once: again only after a save has worked in between.
    if (!saved && !saveFailureShown_) Warn(state_.texts[TextId::SettingsNotSaved]);
    saveFailureShown_ = !saved;
    return saved;
}

bool ProgramRun::SaveSettingsNow() {
    const bool saved = SaveSettingsIn(files_, state_.settings);
    // The program is ending, perhaps with the session: a box would hold that up, a line on
    // standard error (the session's log) does not.
    if (!saved)
        std::fprintf(stderr, "%s: %s\n", location_.BaseName().c_str(),
                     state_.texts[TextId::SettingsNotSaved].c_str());
    return saved;
}

bool ProgramRun::SyncRunEntryNow() {
    return SyncRunEntry(ports_.runEntry, state_.settings, location_.LogonCommand());
}

void ProgramRun::EndAtOnce() {
    // Nothing is saved, but no mouse button may stay pressed behind the program.
    scheduler_.Stop();
    engine_.ReleaseHeldButton();
    endedAtOnce_ = true;
    view_.RequestEnd(0);
}

// --- the tray menu ---

void ProgramRun::OnMenuChosen(MenuAction action) {
    switch (action) {
        case MenuAction::OpenOptions:
            return view_.OpenOptions();
        case MenuAction::TogglePause:
            engine_.SetPaused(!engine_.Paused());
            // Asleep, the engine takes the change at once: it sleeps on other input now.
            return scheduler_.OnSettingsChanged();
        case MenuAction::ChooseLanguage:
            return ChooseLanguage();
        case MenuAction::GetMoreLanguages:
            return OpenPage(ports_.opener, WebPage::Languages);
        case MenuAction::OpenDonationPage:
            return OpenPage(ports_.opener, WebPage::Donation);
        case MenuAction::OpenUpdatesPage:
            return OpenPage(ports_.opener, WebPage::Product);
        case MenuAction::OpenLicense:
            return OpenLicense(ports_.opener, location_.folder, state_.settings.LanguageFile);
        case MenuAction::OpenVersionHistory:
            return OpenVersionHistory(ports_.opener, location_.folder);
        case MenuAction::OpenAbout:
            return view_.OpenAbout(state_.texts);
        case MenuAction::Exit:
            Shutdown();
            return view_.RequestEnd(0);
        case MenuAction::None:
            return;
    }
}

void ProgramRun::ChooseLanguage() {
    ChooseLanguageFromMenu(LanguageMenuContext{
        .settings = state_.settings,
        .texts = state_.texts,
        .languageRoots = files_.languageRoots,
        .dialogRoot = files_.dialogLanguageRoot,
        .fileDialog = ports_.fileDialog,
        .loadTexts =
            [this](const std::vector<std::filesystem::path>& roots, const std::string& name,
                   LangText& texts) {
                return LoadTextsOrLocaleLanguage(roots, name, ports_.locale, texts);
            },
        .unloadOptionsDialog = [this] { view_.UnloadOptions(); },
        .applyMenuTexts = [this] { view_.ApplyMenuTexts(state_.texts); },
        // A failed save keeps the old file and says so; the choice still holds for this run.
        .saveSettings = [this] { static_cast<void>(SaveSettingsOrWarn()); },
    });
}

OptionsServices ProgramRun::DialogServices() {
    return {
        .readJoystickCaps =
            [this](JoystickInfo& caps) {
                ReadJoystickInfo(ports_.joystick, state_.settings, caps);
            },
        .joystickCount = [this] { return state_.joystickCount; },
        .syncRunEntry = [this] { return SyncRunEntryNow(); },
        // Apply and OK come here.
        .saveSettings = [this] { return ApplySettings(); },
    };
}

// --- the update check ---

void ProgramRun::OnUpdateCheckDue() {
    CheckForUpdates(UpdateCheckPorts{
        .http = ports_.http,
        .boxes = ports_.messageBoxes,
        .opener = ports_.opener,
        .texts = state_.texts,
        .endAtOnce = [this] { EndAtOnce(); },
    });
}

}  // namespace vantrel
