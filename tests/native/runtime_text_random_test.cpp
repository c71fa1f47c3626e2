#include <cmath>
#include <gtest/gtest.h>

#include <set>

#include "runtime/base/random.h"
#include "runtime/base/text.h"

using namespace kpv::rt;

TEST(NarrowWidth, FullWidthDigitsAndLettersBecomeAscii) {
    EXPECT_EQ(ToNarrowWidth(L"\uFF11\uFF12\uFF13"), L"123");
    EXPECT_EQ(ToNarrowWidth(L"\uFF21\uFF5A\u3000"), L"Az ");
    EXPECT_EQ(ToNarrowWidth(L"7\u79D2"), L"7\u79D2");  // other characters stay
}

TEST(Utf8, RoundTripsJapaneseAndAstralCharacters) {
    const std::wstring text = L"\u8A2D\u5B9A\u60C5\u5831 \U0001F600 a";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(L"\u79D2"), "\xE7\xA7\x92");
    EXPECT_EQ(Utf8ToWide("\xFF" "a"), L"\uFFFD" L"a");
    EXPECT_EQ(Utf8ToWide("\xE7\xA7"), L"\uFFFD\uFFFD");  // truncated sequence
}

TEST(Generator, DrawsStayInTheHalfOpenUnitInterval) {
    ClockSeededRandom r(12345);
    float lo = 1, hi = 0;
    for (int i = 0; i < 200000; ++i) {
        const float v = r.Next();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_LT(lo, 0.001f);
    EXPECT_GT(hi, 0.999f);
}

TEST(Generator, ReseedingTwiceInARowGivesDifferentSequences) {
    ClockSeededRandom r(1);
    r.Reseed();
    const float a = r.Next();
    r.Reseed();
    const float b = r.Next();
    EXPECT_NE(a, b);
}

TEST(Generator, IndexDrawReachesEveryEntryOfALargeList) {
    // floor(r * n) must reach indexes far beyond 16 bits.
    EXPECT_EQ(DrawIndex(std::nextafter(1.0f, 0.0f), 100000), 99999);
    EXPECT_EQ(DrawIndex(0.0f, 100000), 0);
    ClockSeededRandom r(7);
    std::set<int64_t> seen;
    for (int i = 0; i < 20000; ++i) seen.insert(DrawIndex(r.Next(), 50) );
    EXPECT_EQ(seen.size(), 50u);
}
