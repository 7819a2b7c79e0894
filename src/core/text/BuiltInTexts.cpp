#include "core/text/BuiltInTexts.h"

#include "core/text/LanguageFile.h"
#include "core/text/TextEncoding.h"

namespace vantrel {

const LangText& BuiltInTexts() {
    static const LangText texts = [] {
        LangText table;
        ApplyLanguageLines(DecodeText(BuiltInEnglishFile()), table);
        return table;
    }();
    return texts;
}

}  // namespace vantrel
