// The records one run shares: the settings and the text table.
#pragma once

#include "core/settings/Settings.h"
#include "core/text/BuiltInTexts.h"

namespace vantrel {

struct ProgramState {
    Settings settings;
    // English until a language file is read, and where none can be: every window has words.
    LangText texts = BuiltInTexts();
};

}  // namespace vantrel
