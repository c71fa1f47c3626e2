// Input rules of the settings dialog's text fields, fed keystroke by keystroke as the dialog feeds them.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "settings_dialog/field_rules.h"

using namespace kpv;

namespace {

// A numeric field as the user sees it: text and caret, with the key filters, the maximum length and the
// Change rule applied the way the text box applies them to one typed key.
struct TypedField {
    explicit TypedField(NumericFieldRange r) : range(r) {}
    NumericFieldRange range;
    std::wstring text;
    size_t caret = 0;
    int beeps = 0;

    // One keystroke: its key code, the character it makes (0: none) and the modifier state.
    void Key(uint16_t code, wchar_t c, int shift = 0) {
        if (FilterNumericKeyDown(code, shift)) ++beeps;
        if (code == 0 || c == 0) return;
        uint16_t ascii = static_cast<uint16_t>(c);
        if (FilterNumericKeyPress(ascii)) ++beeps;
        if (ascii == 0) return;
        if (static_cast<int>(text.size()) >= range.maxLength) { ++beeps; return; }  // the box's own limit
        text.insert(caret++, 1, static_cast<wchar_t>(ascii));
        Changed();
    }
    void Type(wchar_t digit) { Key(static_cast<uint16_t>(digit), digit); }
    void TypeAll(std::wstring_view s) { for (wchar_t c : s) Type(c); }
    void Changed() {
        const ChangeOutcome o = ApplyNumericChangeRule(text, range);
        if (o.replace) {
            text = o.text;
            caret = 0;
            EXPECT_FALSE(ApplyNumericChangeRule(text, range).replace) << "the rule must settle in one step";
            if (o.caretToEnd) caret = text.size();
        }
    }
};

}  // namespace

TEST(NumericTyping, ViewTimeZeroBecomesOneWithTheCaretAtTheEnd) {
    TypedField f{kViewTimeRange};
    f.Type(L'0');
    EXPECT_EQ(f.text, L"1");
    EXPECT_EQ(f.caret, 1u);
    EXPECT_EQ(f.beeps, 0);
}

TEST(NumericTyping, ViewTimeSevenThenFiveIsHeldAtSixty) {
    TypedField f{kViewTimeRange};
    f.TypeAll(L"7");
    EXPECT_EQ(f.text, L"7");
    f.Type(L'5');
    EXPECT_EQ(f.text, L"60");
    EXPECT_EQ(f.caret, 2u);
    f.Type(L'1');  // the field is full: the box refuses a third character
    EXPECT_EQ(f.text, L"60");
}

TEST(NumericTyping, DrawSpeedAboveTwentyThousandIsHeldOnTheFifthDigit) {
    for (const wchar_t* typed : {L"20001", L"20010", L"29999", L"99999", L"30000"}) {
        TypedField f{kDrawSpeedRange};
        f.TypeAll(std::wstring_view(typed).substr(0, 4));
        EXPECT_EQ(f.text, std::wstring(typed).substr(0, 4)) << "four digits stay as typed";
        f.Type(typed[4]);
        EXPECT_EQ(f.text, L"20000") << "typed " << f.text.size();
        EXPECT_EQ(f.caret, 5u);
    }
    TypedField zero{kDrawSpeedRange};
    zero.Type(L'0');
    EXPECT_EQ(zero.text, L"0");
    TypedField exact{kDrawSpeedRange};
    exact.TypeAll(L"20000");
    EXPECT_EQ(exact.text, L"20000");
}

TEST(NumericTyping, BlockSizeKeepsSmallValuesWhileTypingAndRaisesThemOnLeaving) {
    TypedField f{kBlockSizeRange};
    f.Type(L'5');
    EXPECT_EQ(f.text, L"5");
    EXPECT_EQ(BlockSizeTextOnLeaving(f.text, 32), L"10");

    TypedField z{kBlockSizeRange};
    z.Type(L'0');
    EXPECT_EQ(z.text, L"1");
    EXPECT_EQ(BlockSizeTextOnLeaving(z.text, 32), L"10");

    TypedField big{kBlockSizeRange};
    big.TypeAll(L"301");
    EXPECT_EQ(big.text, L"300");
    EXPECT_EQ(BlockSizeTextOnLeaving(L"10", 32), L"10");
    EXPECT_EQ(BlockSizeTextOnLeaving(L"150", 32), L"150");
}

TEST(NumericKeys, LettersSignsSpaceAndShiftAloneBeepAndAreDiscarded) {
    for (uint16_t code : {uint16_t{65}, uint16_t{90}, uint16_t{189}, uint16_t{109}, uint16_t{190}, uint16_t{110},
                          uint16_t{32}, uint16_t{16}, uint16_t{17}, uint16_t{18}, uint16_t{38}, uint16_t{40},
                          uint16_t{13}, uint16_t{27}, uint16_t{112}}) {
        uint16_t k = code;
        EXPECT_TRUE(FilterNumericKeyDown(k, 0)) << "key " << code;
        EXPECT_EQ(k, 0) << "key " << code;
    }
}

TEST(NumericKeys, DigitsEditingAndNavigationKeysPass) {
    for (uint16_t code : {uint16_t{48}, uint16_t{57}, uint16_t{96}, uint16_t{105}, uint16_t{37}, uint16_t{39},
                          uint16_t{36}, uint16_t{35}, uint16_t{9}, uint16_t{46}, uint16_t{8}}) {
        uint16_t k = code;
        EXPECT_FALSE(FilterNumericKeyDown(k, 0)) << "key " << code;
        EXPECT_EQ(k, code);
    }
}

TEST(NumericKeys, CtrlOrAltWithAnyKeyBeepsButShiftDigitPassesTheKeyFilter) {
    uint16_t ctrlV = 'V';
    EXPECT_TRUE(FilterNumericKeyDown(ctrlV, kCtrlBit));
    EXPECT_EQ(ctrlV, 0);
    uint16_t altDigit = '5';
    EXPECT_TRUE(FilterNumericKeyDown(altDigit, kAltBit | kShiftBit));
    EXPECT_EQ(altDigit, 0);
    uint16_t shiftDigit = '1';
    EXPECT_FALSE(FilterNumericKeyDown(shiftDigit, kShiftBit));
    EXPECT_EQ(shiftDigit, '1');
    // ... and the character it makes ("!" on a Japanese keyboard) is discarded by the character filter.
    uint16_t bang = '!';
    EXPECT_TRUE(FilterNumericKeyPress(bang));
    EXPECT_EQ(bang, 0);

    TypedField f{kViewTimeRange};
    f.Key('1', L'!', kShiftBit);
    EXPECT_EQ(f.text, L"");
    EXPECT_EQ(f.beeps, 1);
    f.Key(16, 0, kShiftBit);  // Shift by itself
    EXPECT_EQ(f.beeps, 2);
    f.Key('A', L'a');         // a letter beeps once: its character never reaches the field
    EXPECT_EQ(f.beeps, 3);
    EXPECT_EQ(f.text, L"");
}

TEST(NumericCharacters, OnlyDigitsBackspaceAndTabPass) {
    for (uint16_t c = 0; c < 0x3100; ++c) {
        uint16_t k = c;
        const bool beep = FilterNumericKeyPress(k);
        const bool passes = (c >= '0' && c <= '9') || c == 8 || c == 9;
        EXPECT_EQ(beep, !passes) << "char " << c;
        EXPECT_EQ(k, passes ? c : 0) << "char " << c;
    }
    uint16_t fullWidthSeven = 0xFF17;
    EXPECT_TRUE(FilterNumericKeyPress(fullWidthSeven));
}

TEST(NumericChange, FullWidthDigitsBecomeAsciiAndAreClamped) {
    const ChangeOutcome o = ApplyNumericChangeRule(L"\uFF11\uFF12", kViewTimeRange);  // "１２"
    EXPECT_TRUE(o.replace);
    EXPECT_EQ(o.text, L"12");
    EXPECT_TRUE(o.caretToEnd);
    EXPECT_EQ(ApplyNumericChangeRule(L"\uFF19\uFF19", kViewTimeRange).text, L"60");
    EXPECT_EQ(ApplyNumericChangeRule(L"\uFF12\uFF10\uFF10\uFF10\uFF15", kDrawSpeedRange).text, L"20000");
    EXPECT_EQ(ApplyNumericChangeRule(L"\uFF10", kBlockSizeRange).text, L"1");
}

TEST(NumericChange, TextAlreadyInRangeIsLeftExactlyAsItIs) {
    const std::pair<const wchar_t*, NumericFieldRange> cases[] = {
        {L"1", kViewTimeRange}, {L"60", kViewTimeRange}, {L"05", kViewTimeRange}, {L"0", kDrawSpeedRange},
        {L"00000", kDrawSpeedRange}, {L"20000", kDrawSpeedRange}, {L"9", kBlockSizeRange}, {L"300", kBlockSizeRange}};
    for (const auto& [t, range] : cases) {
        const ChangeOutcome o = ApplyNumericChangeRule(t, range);
        EXPECT_FALSE(o.replace) << std::wstring_view(t).size();
        EXPECT_EQ(o.text, t);
    }
    EXPECT_FALSE(ApplyNumericChangeRule(L"", kViewTimeRange).replace);
}

TEST(NumericChange, PastedTextThatIsNotANumberKeepsOnlyItsDigits) {
    EXPECT_EQ(ApplyNumericChangeRule(L"12秒", kViewTimeRange).text, L"12");
    EXPECT_EQ(ApplyNumericChangeRule(L"1.5", kViewTimeRange).text, L"15");
    EXPECT_EQ(ApplyNumericChangeRule(L" 45 ", kViewTimeRange).text, L"45");
    EXPECT_EQ(ApplyNumericChangeRule(L"abc", kViewTimeRange).text, L"");
    EXPECT_TRUE(ApplyNumericChangeRule(L"abc", kViewTimeRange).replace);
    EXPECT_EQ(ApplyNumericChangeRule(L"x0", kViewTimeRange).text, L"1");
    EXPECT_EQ(ApplyNumericChangeRule(L"-", kDrawSpeedRange).text, L"");
    // A negative number is below every field's minimum.
    EXPECT_EQ(ApplyNumericChangeRule(L"-5", kViewTimeRange).text, L"1");
    EXPECT_EQ(ApplyNumericChangeRule(L"-5", kDrawSpeedRange).text, L"0");
    EXPECT_EQ(ApplyNumericChangeRule(L"-0", kDrawSpeedRange).text, L"0");
    EXPECT_EQ(ApplyNumericChangeRule(L"\uFF0D\uFF13", kBlockSizeRange).text, L"1");  // full-width "－３"
}

TEST(NumericChange, AnyLengthAboveTheMaximumIsTheMaximum) {
    EXPECT_EQ(ApplyNumericChangeRule(std::wstring(400, L'9'), kDrawSpeedRange).text, L"20000");
    EXPECT_EQ(ApplyNumericChangeRule(L"18446744073709551617", kBlockSizeRange).text, L"300");
    EXPECT_EQ(ApplyNumericChangeRule(L"-99999999999999999999999", kViewTimeRange).text, L"1");
}

TEST(NumericLeaving, EmptyFieldsTakeTheCurrentSettingAsTheFieldWouldShowIt) {
    EXPECT_EQ(NumericTextOnLeaving(L"", 7, kViewTimeRange), L"7");
    EXPECT_EQ(NumericTextOnLeaving(L"", 0, kViewTimeRange), L"1");    // a stored 0 is shown clamped
    EXPECT_EQ(NumericTextOnLeaving(L"", 90, kViewTimeRange), L"60");
    EXPECT_EQ(NumericTextOnLeaving(L"", 0, kDrawSpeedRange), L"0");
    EXPECT_EQ(NumericTextOnLeaving(L"", 123, kDrawSpeedRange), L"123");
    EXPECT_EQ(NumericTextOnLeaving(L"45", 7, kViewTimeRange), L"45");
    EXPECT_EQ(BlockSizeTextOnLeaving(L"", 32), L"32");
    EXPECT_EQ(BlockSizeTextOnLeaving(L"", 5), L"10");     // a stored small block is raised like a typed one
    EXPECT_EQ(BlockSizeTextOnLeaving(L"", -4), L"10");
    EXPECT_EQ(BlockSizeTextOnLeaving(L"", 1000), L"300");
}

TEST(PathLeaving, ABackslashIsAppendedOnlyWhenMissing) {
    EXPECT_EQ(PathTextOnLeaving(L"C:\\Pictures"), L"C:\\Pictures\\");
    EXPECT_EQ(PathTextOnLeaving(L"C:\\Pictures\\"), L"C:\\Pictures\\");
    EXPECT_EQ(PathTextOnLeaving(L""), L"");
    EXPECT_EQ(PathTextOnLeaving(L"C:"), L"C:\\");
    EXPECT_EQ(PathTextOnLeaving(L"D:\\画像"), L"D:\\画像\\");
}

TEST(SettingText, StoredValuesAreShownThroughTheChangeRule) {
    EXPECT_EQ(NumericTextForSetting(1, kViewTimeRange), L"1");
    EXPECT_EQ(NumericTextForSetting(65, kViewTimeRange), L"60");
    EXPECT_EQ(NumericTextForSetting(-1, kDrawSpeedRange), L"0");
    EXPECT_EQ(NumericTextForSetting(2147483647, kDrawSpeedRange), L"20000");
    EXPECT_EQ(NumericTextForSetting(-2147483647 - 1, kDrawSpeedRange), L"0");
    EXPECT_EQ(NumericTextForSetting(9, kBlockSizeRange), L"9");  // only leaving the field raises it to 10
    EXPECT_EQ(NumericTextForSetting(32, kBlockSizeRange), L"32");
}

TEST(TakingFields, EmptyTextKeepsTheSettingAndDigitsConvert) {
    EXPECT_EQ(TakeInt16Field(L"", 17), 17);
    EXPECT_EQ(TakeInt16Field(L"05", 17), 5);
    EXPECT_EQ(TakeInt16Field(L"300", 17), 300);
    EXPECT_EQ(TakeInt32Field(L"", 1234), 1234);
    EXPECT_EQ(TakeInt32Field(L"20000", 0), 20000);
    EXPECT_EQ(TakeInt32Field(L"00000", 5), 0);
    // Never reached through the fields' rules, but never a crash or a wrapped value either.
    EXPECT_EQ(TakeInt16Field(L"40000", 17), 17);
    EXPECT_EQ(TakeInt16Field(L"x", 17), 17);
    EXPECT_EQ(TakeInt32Field(L"99999999999", 3), 3);
}
