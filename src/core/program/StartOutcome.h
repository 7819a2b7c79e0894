// Who started the program, how a start ended, the exit status each end gives, and the two
// messages of an early end.
#pragma once

#include <string>

#include "core/text/LangText.h"

namespace vantrel {

// Started by the user (or a script), or by the start-at-logon entry (its argument, kAtLogonOption),
// where a start without a joystick waits for one in the tray instead of ending.
enum class StartedBy { User, Logon };

// The early ends are failures of the run and give their own exit status.
enum class StartOutcome { Running, SecondInstance, NoJoystick };
int ExitStatus(StartOutcome outcome);

// The paragraph break in message texts.
inline constexpr const char* kParagraphBreak = "\n\n";

std::string SecondInstanceText(const LangText& texts, const std::string& programName);
std::string NoJoystickText(const LangText& texts);

}  // namespace vantrel
