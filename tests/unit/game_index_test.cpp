// Reading back the remembered entry of a game file from its stored text.
#include <gtest/gtest.h>

#include "settings/game_index_logic.h"

namespace floppex {
namespace {

TEST(GameIndexStored, OneBasedNumberBecomesZeroBasedIndex) {
    EXPECT_EQ(GameIndexFromStored(L"1"), 0);
    EXPECT_EQ(GameIndexFromStored(L"12"), 11);
    EXPECT_EQ(GameIndexFromStored(L"99999999"), 99999998);
    EXPECT_EQ(StoredFromGameIndex(0), L"1");
    EXPECT_EQ(StoredFromGameIndex(2), L"3");
    EXPECT_EQ(StoredFromGameIndex(2147483647), L"2147483648");
    EXPECT_EQ(GameIndexFromStored(StoredFromGameIndex(41)), 41);
}

TEST(GameIndexStored, NothingRememberedReadsAsMinusOne) {
    for (const wchar_t* text : {L"", L"NOTFOUND", L"0", L"abc", L"-5", L"x3", L".", L"-", L"1e99999"})
        EXPECT_EQ(GameIndexFromStored(text), -1) << text;
}

TEST(GameIndexStored, LenientPrefixIsRead) {
    EXPECT_EQ(GameIndexFromStored(L" 7"), 6);
    EXPECT_EQ(GameIndexFromStored(L"\t 7"), 6);
    EXPECT_EQ(GameIndexFromStored(L"3x"), 2);
    EXPECT_EQ(GameIndexFromStored(L"3 4"), 2);
    EXPECT_EQ(GameIndexFromStored(L"+4"), 3);
    EXPECT_EQ(GameIndexFromStored(L"007"), 6);
    EXPECT_EQ(GameIndexFromStored(L"1e1"), 9);
    EXPECT_EQ(GameIndexFromStored(L"2D1"), 19);
    EXPECT_EQ(GameIndexFromStored(L"5e"), 4);
    EXPECT_EQ(GameIndexFromStored(L"5e+"), 4);
}

TEST(GameIndexStored, FractionsRoundHalfToEven) {
    EXPECT_EQ(GameIndexFromStored(L"1.5"), 0);   // 0.5 -> 0
    EXPECT_EQ(GameIndexFromStored(L"2.5"), 2);   // 1.5 -> 2
    EXPECT_EQ(GameIndexFromStored(L"3.5"), 2);   // 2.5 -> 2
    EXPECT_EQ(GameIndexFromStored(L"3.51"), 3);
    EXPECT_EQ(GameIndexFromStored(L".5e1"), 4);  // 5 -> 4
    EXPECT_EQ(GameIndexFromStored(L"1.4"), 0);   // 0.4 -> 0, a real entry
}

TEST(LeadingNumber, StopsAtTheLongestNumber) {
    EXPECT_DOUBLE_EQ(LeadingNumber(L"12.5.3"), 12.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"-2e2x"), -200.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"4."), 4.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"+"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"  "), 0.0);
}

}  // namespace
}  // namespace floppex
