#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/base/numbers.h"

using namespace kpv::rt;

TEST(Rounding, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(CLng(191.5), 192);
    EXPECT_EQ(CLng(190.5), 190);
    EXPECT_EQ(CLng(-2.5), -2);
    EXPECT_EQ(CLng(-3.5), -4);
    EXPECT_EQ(CLng(0.49999999), 0);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);
}

TEST(Rounding, OverflowIsAnErrorNotAWrap) {
    EXPECT_THROW(CInt(32767.5), OverflowError);  // rounds to 32768
    EXPECT_THROW(CInt(-32769.0), OverflowError);
    EXPECT_THROW(CLng(2147483647.5), OverflowError);
    EXPECT_THROW(CLng(std::numeric_limits<double>::quiet_NaN()), OverflowError);
    EXPECT_THROW(CLng(std::numeric_limits<double>::infinity()), OverflowError);
    EXPECT_EQ(CLng(-2147483648.0), std::numeric_limits<int32_t>::min());
}

TEST(Rounding, IntIsTheFloor) {
    EXPECT_EQ(Int(2.999), 2.0);
    EXPECT_EQ(Int(-0.5), -1.0);
    // A single-precision draw times 15 plus 1 formed in double precision stays below 16.
    const float largest = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(Int(static_cast<double>(largest) * 15 + 1), 15.0);
}

TEST(TextToNumber, AcceptsSurroundingBlanksAndSigns) {
    EXPECT_EQ(TextToLong(L"1234"), 1234);
    EXPECT_EQ(TextToLong(L" 1234 "), 1234);
    EXPECT_EQ(TextToLong(L"234"), 234);
    EXPECT_EQ(TextToLong(L"+7"), 7);
    EXPECT_EQ(TextToLong(L"-65538"), -65538);
    EXPECT_EQ(TextToLong(L"2.5"), 2);
    EXPECT_EQ(TextToLong(L"1e3"), 1000);
}

TEST(TextToNumber, RejectsWhatIsNotANumber) {
    for (const wchar_t* bad : {L"", L" ", L"xyz", L":1234", L"12x", L"1e", L".", L"- 1"}) {
        EXPECT_THROW(TextToNumber(bad), TypeMismatchError) << "input: " << std::wstring(bad).size();
    }
    EXPECT_THROW(TextToLong(L"99999999999"), OverflowError);
}

TEST(LeadingDigits, NeverThrowsAndStopsAtTheFirstNonDigit) {
    EXPECT_EQ(LeadingDigitsValue(L"75"), 75);
    EXPECT_EQ(LeadingDigitsValue(L"12ab"), 12);
    EXPECT_EQ(LeadingDigitsValue(L"abc"), 0);
    EXPECT_GT(LeadingDigitsValue(L"99999999999999999999999999999"), 20000);
}
