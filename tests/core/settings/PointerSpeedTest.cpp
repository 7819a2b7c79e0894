#include "core/settings/PointerSpeed.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(PointerSpeed, LeadingNumberLikeTheEngineReadsIt) {
    const std::pair<const char*, double> cases[] = {
        {"2", 2},    {"0.5", 0.5}, {" 1 . 5 ", 1.5}, {"1,5", 1},   {"abc", 0},
        {"", 0},     {"-3", -3},   {"+2.5", 2.5},    {"7x", 7},    {".5", 0.5},
        {"1e1", 10}, {"2d1", 20},  {"1e", 1},        {"1e999", 0}, {"\t3\n", 3}};
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
}

TEST(PointerSpeed, ZeroOrNoNumberGivesStepTwo) {
    EXPECT_EQ(PointerStepFromSpeed(""), 2.0f);
    EXPECT_EQ(PointerStepFromSpeed("none"), 2.0f);
    EXPECT_EQ(PointerStepFromSpeed("0"), 2.0f);
    EXPECT_EQ(PointerStepFromSpeed("1,5"), 1.0f);
    EXPECT_EQ(PointerStepFromSpeed("0.5"), 0.5f);
    EXPECT_EQ(PointerStepFromSpeed("3"), 3.0f);
}

TEST(PointerSpeed, PlainDecimal) {
    for (const char* yes : {"2", "0.5", "-1.5", "10", ".5", "5."})
        EXPECT_TRUE(IsPlainDecimal(yes)) << yes;
    for (const char* no : {"", "1,5", " 2", "2 ", "a", ".", "-", "1e3", "1.2.3"})
        EXPECT_FALSE(IsPlainDecimal(no)) << no;
}

}  // namespace
}  // namespace vantrel
