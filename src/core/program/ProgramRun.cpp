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
      scheduler_(engine_, ports.joystick, *this, ports.wake ? *ports.wake : noWakeSource_),
      startup_(state, *this, location_.BaseName()) {}

void ProgramRun::Shutdown() {
    if (endedAtOnce_) return;
    view_.StopUpdateCheckTimer();  // an ending program asks about no update
    scheduler_.Stop();
    engine_.ReleaseHeldButton();
    startup_.Shutdown();
}

bool ProgramRun::ApplySettings() {
    scheduler_.OnSettingsChanged();
    return SaveSettingsOrWarn();
}

bool ProgramRun::SaveSettingsOrWarn() {
    const bool saved = SaveSettingsIn(files_, state_.settings);
    // Said once: again only after a save has worked in between.
    if (!saved && !saveFailureShown_)
        ports_.messageBoxes.Warning(state_.texts[TextId::MessageTitle],
                                    state_.texts[TextId::SettingsNotSaved]);
    saveFailureShown_ = !saved;
    return saved;
}

bool ProgramRun::SyncRunEntryNow() {
    return vantrel::SyncRunEntry(ports_.runEntry, state_.settings, location_.LogonCommand());
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
                vantrel::ReadJoystickInfo(ports_.joystick, state_.settings, caps);
            },
        .joystickCount = [this] { return state_.joystickCount; },
        .syncRunEntry = [this] { return SyncRunEntryNow(); },
        // Apply and OK come here.
        .saveSettings = [this] { return ApplySettings(); },
    };
}

// --- start-up and shutdown steps ---

void ProgramRun::WriteManifest() {
    // The manifest works only beside the executable; a program folder that is not the program's
    // to write (a package's) gets none rather than a file its owner does not know.
    if (!files_.programFolderWritable) return;
    // Start-up goes on whatever happened; the next start tries again.
    static_cast<void>(
        vantrel::WriteManifest(location_.folder, location_.BaseName(), ports_.manifestPlatform));
}

int ProgramRun::CountJoysticks() {
    const int count = vantrel::CountJoysticks(ports_.joystick);
    engine_.SetJoystickCount(count);
    return count;
}

SettingsLoad ProgramRun::LoadSettings(Settings& settings) {
    return vantrel::LoadSettings(files_.SettingsFileToRead(), settings);
}

void ProgramRun::ChooseLanguageFromLocale(Settings& settings) {
    vantrel::ChooseLanguageFromLocale(settings, ports_.locale);
}

void ProgramRun::LoadTexts(const std::string& languageFile, LangText& texts) {
    // When not even English can be read the built-in texts stay; the run goes on.
    static_cast<void>(
        LoadTextsOrLocaleLanguage(files_.languageRoots, languageFile, ports_.locale, texts));
}

void ProgramRun::SyncRunEntry(const Settings& settings) {
    // Failures leave the entry as it was; there is nobody to tell.
    static_cast<void>(vantrel::SyncRunEntry(ports_.runEntry, settings, location_.LogonCommand()));
}

bool ProgramRun::AnotherInstanceRunning() {
    return ports_.anotherInstanceRunning && ports_.anotherInstanceRunning();
}

void ProgramRun::ReadJoystickInfo(const Settings& settings, JoystickInfo& caps) {
    vantrel::ReadJoystickInfo(ports_.joystick, settings, caps);
}

void ProgramRun::ShowWarning(const std::string& title, const std::string& text) {
    ports_.messageBoxes.Warning(title, text);
}

void ProgramRun::StartPolling(int intervalMs) {
    pollIntervalMs_ = intervalMs;
    scheduler_.Start();
}

void ProgramRun::CheckForUpdates() {
    view_.StartUpdateCheckTimer(kUpdateCheckDelay);
}

void ProgramRun::OnUpdateCheckDue() {
    vantrel::CheckForUpdates(UpdateCheckPorts{
        .http = ports_.http,
        .boxes = ports_.messageBoxes,
        .opener = ports_.opener,
        .texts = state_.texts,
        .endAtOnce = [this] { EndAtOnce(); },
    });
}

bool ProgramRun::SaveSettings(const Settings& settings) {
    const bool saved = SaveSettingsIn(files_, settings);
    // The program is ending, perhaps with the session: a box would hold that up, a line on
    // standard error (the session's log) does not.
    if (!saved)
        std::fprintf(stderr, "%s: %s\n", location_.BaseName().c_str(),
                     state_.texts[TextId::SettingsNotSaved].c_str());
    return saved;
}

}  // namespace vantrel
