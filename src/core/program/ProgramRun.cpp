#include "core/program/ProgramRun.h"

#include <algorithm>
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
    scheduler_.SetTickListener([this] { OnTicked(); });
    engine_.SetPauseHandler([this](bool) { ShowTrayState(); });
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

StartOutcome ProgramRun::Start(StartedBy by) {
    view_.SetMenuBitmaps();
    const int joysticks = CountJoysticks(ports_.joystick);
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

    if (joysticks == 0 && by == StartedBy::User) {
        Warn(NoJoystickText(state_.texts));
        view_.RemoveTrayIcon();
        return StartOutcome::NoJoystick;
    }
    // At logon the pad may still be off: the run waits, asleep where a device monitor can wake
    // it, and the first tick that finds a pad takes it.
    waitingForJoystick_ = joysticks == 0;
    scheduler_.Start();
    view_.AddTrayIcon();
    if (waitingForJoystick_) ShowTrayState();
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

void ProgramRun::OnTicked() {
    if (engine_.PadTakes() == padTakesSeen_) return;
    padTakesSeen_ = engine_.PadTakes();
    // Another pad in use (the first to come at logon, one picked in the options, or one that
    // came back): its Back and Start, and what the options dialog shows of it while it is away.
    JoystickInfo caps;
    if (ports_.joystick.ReadInfo(engine_.DeviceToRead(), caps)) {
        engine_.SetBackStartButtons(caps.backStartButtons);
        capsInUse_ = caps;
    }
    if (!waitingForJoystick_) return;
    waitingForJoystick_ = false;
    ShowTrayState();
}

void ProgramRun::ShowTrayState() {
    // A pause the user asked for shows over the waiting.
    const TrayState state = engine_.Paused()      ? TrayState::Paused
                            : waitingForJoystick_ ? TrayState::WaitingForJoystick
                                                  : TrayState::Normal;
    view_.ShowTrayState(state, state_.texts);
}

bool ProgramRun::ApplySettings() {
    // Another joystick may be in use now, with a Back and Start of its own.
    // A joystick picked takes its Back and Start with it at the tick that takes it (OnTicked).
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
        .readJoystickCaps = [this](JoystickInfo& caps) { ReadCapsInUse(caps); },
        .joystickCount = [this] { return CountJoysticks(ports_.joystick); },
        .joystickInUse =
            [this] {
                const int device = engine_.DeviceToRead();
                return device >= 0 ? device : state_.settings.JoystickId;
            },
        .chooseJoystick = [this] { engine_.FollowChosenJoystick(); },
        .syncRunEntry = [this] { return SyncRunEntryNow(); },
        // Apply and OK come here.
        .saveSettings = [this] { return ApplySettings(); },
    };
}

void ProgramRun::ReadCapsInUse(JoystickInfo& caps) {
    const int device = engine_.DeviceToRead();
    JoystickInfo read;
    if (device >= 0 && ports_.joystick.ReadInfo(device, read)) capsInUse_ = read;
    if (capsInUse_) {
        caps = *capsInUse_;
        return;
    }
    // No pad came yet (a start at logon): lists as long as the buttons assigned, so that OK
    // keeps them rather than finding them outside empty lists.
    const std::int16_t highest = std::max(
        {state_.settings.LeftButton, state_.settings.RightButton, state_.settings.MiddleButton});
    caps.buttonCount = static_cast<std::uint32_t>(std::clamp<std::int16_t>(highest, 0, 32));
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
