// The records one run shares: the settings, the text table and the joystick count.
#pragma once

#include "core/settings/Settings.h"
#include "core/text/BuiltInTexts.h"

namespace vantrel {

struct ProgramState {
    Settings settings;
    // English until a language file is read, and where none can be: every window has words.
    LangText texts = BuiltInTexts();
    int joystickCount = 0;
};

}  // namespace vantrel
