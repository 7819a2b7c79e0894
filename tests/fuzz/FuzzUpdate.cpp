// Fuzzes the update decision: an update is offered exactly for a body of nine digits that
// orders after the program's own version byte by byte, the version strings order as the
// versions do, the question's text loses every "<BR>" to a paragraph break and nothing else,
// and the question is asked (and the product page opened on Yes) exactly when an update is
// offered.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "core/info/UpdateCheck.h"
#include "support/fakes/FakeHttpFetch.h"
#include "support/fakes/FakeMessageBox.h"
#include "support/fakes/FakeOpener.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "update property broken: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

bool NineDigits(std::string_view text) {
    return text.size() == 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A version file is nine digits; memcmp orders them as the versions go.
bool OrdersAfter(std::string_view body, std::string_view own) {
    return NineDigits(body) && own.size() == 9 && std::memcmp(body.data(), own.data(), 9) > 0;
}

void CheckVersions(FuzzedDataProvider& data) {
    const vantrel::ProgramVersion own{data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>(),
                                      data.ConsumeIntegral<int>()};
    const vantrel::ProgramVersion published{
        data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>()};
    const std::string ownText = vantrel::ComparableVersion(own);
    const std::string publishedText = vantrel::ComparableVersion(published);
    for (const std::string& text : {ownText, publishedText}) {
        Check(text.size() == 9, "comparable version is not nine characters");
        Check(NineDigits(text), "comparable version holds a non-digit");
    }
    const auto clamped = [](const vantrel::ProgramVersion& v) {
        return std::tuple(std::clamp(v.major, 0, 999), std::clamp(v.minor, 0, 999),
                          std::clamp(v.revision, 0, 999));
    };
    Check(vantrel::OffersUpdate(publishedText, ownText) == (clamped(published) > clamped(own)),
          "versions order differently from their numbers");
    Check(!vantrel::OffersUpdate(ownText, ownText), "own version offered as an update");
}

void CheckBody(std::string_view body, std::string_view own) {
    const bool offered = vantrel::OffersUpdate(body, own);
    Check(offered == OrdersAfter(body, own), "offer differs from the byte order");
    if (offered) Check(!vantrel::OffersUpdate(own, body), "both versions newer than each other");
    if (NineDigits(body) && body != own)
        Check(offered != vantrel::OffersUpdate(own, body), "distinct versions not ordered");
}

void CheckParagraphs(std::string_view text) {
    const std::string out = vantrel::ParagraphBreaks(text);
    Check(out.find("<BR>") == std::string::npos, "a <BR> survived");
    std::size_t markers = 0;
    for (std::size_t at = text.find("<BR>"); at != std::string_view::npos;
         at = text.find("<BR>", at + 4))
        ++markers;
    Check(out.size() == text.size() - 2 * markers, "more changed than the markers");
    if (text.find('\n') != std::string_view::npos) return;
    // Without line feeds of its own, every "\n\n" of the result is a marker: put them back.
    std::string back;
    std::size_t from = 0;
    for (std::size_t at = out.find("\n\n"); at != std::string::npos; at = out.find("\n\n", from)) {
        back.append(out, from, at - from);
        back += "<BR>";
        from = at + 2;
    }
    back.append(out, from);
    Check(back == text, "text outside the markers changed");
}

void CheckQuestion(const std::optional<std::string>& body, const std::string& question,
                   bool answerYes, const vantrel::ProgramVersion& own) {
    vantrel::FakeMessageBox boxes;
    boxes.answerYes = answerYes;
    vantrel::FakeOpener opener;
    vantrel::LangText texts;
    texts[vantrel::TextId::UpdateQuestion] = question;
    texts[vantrel::TextId::UpdateTitle] = "Update";
    int ended = 0;
    vantrel::FakeHttpFetch http;
    vantrel::UpdateCheckOptions options;
    options.own = own;
    vantrel::CheckForUpdates({http, boxes, opener, texts, [&ended] { ++ended; }}, options);
    Check(http.requests.size() == 1 && boxes.shown.empty(), "check did not wait for the answer");
    http.Answer(body);
    const bool offered = body && OrdersAfter(*body, vantrel::ComparableVersion(own));
    Check(boxes.shown.size() == (offered ? 1u : 0u), "question asked without an update");
    if (!offered) {
        Check(opener.addresses.empty() && ended == 0, "acted without an update");
        return;
    }
    Check(boxes.shown[0].question, "update shown as a warning");
    Check(boxes.shown[0].text == vantrel::ParagraphBreaks(question), "question text changed");
    Check(opener.addresses.size() == (answerYes ? 1u : 0u), "product page opened on No");
    Check(ended == (answerYes ? 1 : 0), "program ended without a Yes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    CheckVersions(provider);
    const vantrel::ProgramVersion own{provider.ConsumeIntegralInRange(0, 999),
                                      provider.ConsumeIntegralInRange(0, 999),
                                      provider.ConsumeIntegralInRange(0, 999)};
    const bool missing = provider.ConsumeBool();
    const bool answerYes = provider.ConsumeBool();
    const std::string body = provider.ConsumeRandomLengthString(16);
    const std::string question = provider.ConsumeRemainingBytesAsString();
    CheckBody(body, vantrel::ComparableVersion(own));
    CheckParagraphs(question);
    CheckQuestion(missing ? std::nullopt : std::optional<std::string>(body), question, answerYes,
                  own);
    return 0;
}
