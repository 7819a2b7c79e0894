#include "core/info/AboutTexts.h"

namespace vantrel {

std::string CreditLine(const LangText& texts) {
    return std::string(kCreditText) + " - " + texts[TextId::Credit];
}

}  // namespace vantrel
