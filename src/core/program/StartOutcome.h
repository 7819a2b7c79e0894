// How a start ended, the exit status each end gives, and the two messages of an early end.
#pragma once

#include <string>

#include "core/text/LangText.h"

namespace vantrel {

// The early ends are failures of the run and give their own exit status.
enum class StartOutcome { Running, SecondInstance, NoJoystick };
int ExitStatus(StartOutcome outcome);

// The paragraph break in message texts.
inline constexpr const char* kParagraphBreak = "\n\n";

std::string SecondInstanceText(const LangText& texts, const std::string& programName);
std::string NoJoystickText(const LangText& texts);

}  // namespace vantrel
