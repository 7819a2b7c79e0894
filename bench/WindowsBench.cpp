#include "WindowsBench.h"

#include <malloc.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "ProgramRig.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayApplication.h"

namespace vantrel::bench {

namespace {

void PrintMemory(int round) {
    const struct mallinfo2 heap = mallinfo2();
    std::printf(
        "  after %4d rounds: VmRSS %6ld KiB, heap in use %6zu KiB, heap free %6zu KiB, "
        "%lld top-level widgets\n",
        round, VmRssKiB(), heap.uordblks / 1024, heap.fordblks / 1024,
        static_cast<long long>(QApplication::topLevelWidgets().size()));
}

}  // namespace

void WindowRoundsFigures(int rounds) {
    ProgramRig rig;
    rig.Start();
    if (!rig.Problem().empty()) {
        std::printf("windows: %s\n", rig.Problem().c_str());
        return;
    }
    TrayApplication& window = rig.Window();
    const std::vector<std::string> languages = {"Italiano.lng", "French.lng", "English.lng"};
    std::printf("options and about windows opened and closed, a language change every 55 rounds\n");
    RunLoop(500);
    PrintMemory(0);
    // Every step from the event loop, as the tray menu's choices come: a window closed there is
    // deleted when control returns to it.
    QEventLoop loop;
    int round = 0, step = 0;
    QTimer steps;
    steps.setInterval(1);
    QObject::connect(&steps, &QTimer::timeout, [&] {
        switch (step++ % 4) {
            case 0:
                window.OnMenuChosen(MenuAction::OpenOptions);
                break;
            case 1:
                rig.OpenOptionsDialog()->close();
                break;
            case 2:
                window.OnMenuChosen(MenuAction::OpenAbout);
                break;
            case 3:
                rig.OpenAboutWindow()->close();
                ++round;
                if (round % 55 == 0) rig.ChooseLanguage(languages[(round / 55) % languages.size()]);
                if (round == 1 || round == 50 || round % 100 == 0) PrintMemory(round);
                if (round == rounds) loop.quit();
                break;
        }
    });
    steps.start();
    loop.exec();
    if (std::getenv("TMP_EXIT")) std::_Exit(0);
}

}  // namespace vantrel::bench
