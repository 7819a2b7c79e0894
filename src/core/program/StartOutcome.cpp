#include "core/program/StartOutcome.h"

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

}  // namespace vantrel
