#include "settings_dialog/field_rules.h"

#include <algorithm>

#include "runtime/base/numbers.h"
#include "runtime/base/text.h"

namespace kpv {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool AllDigits(std::wstring_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); }

// The value of a run of digits, saturated far above any field's maximum so that no length can overflow.
int64_t DigitsValue(std::wstring_view digits) {
    constexpr int64_t kCeiling = 1'000'000'000'000;
    int64_t v = 0;
    for (wchar_t c : digits) {
        v = v * 10 + (c - L'0');
        if (v > kCeiling) return kCeiling;
    }
    return v;
}

bool KeyCodePasses(uint16_t code) {
    constexpr uint16_t kBackspace = 8, kTab = 9, kEnd = 35, kHome = 36, kLeft = 37, kRight = 39, kDelete = 46;
    if (code >= 48 && code <= 57) return true;   // digit keys
    if (code >= 96 && code <= 105) return true;  // keypad digits
    switch (code) {
        case kLeft: case kRight: case kHome: case kEnd: case kTab: case kDelete: case kBackspace: return true;
        default: return false;
    }
}

}  // namespace

bool FilterNumericKeyDown(uint16_t& keyCode, int shift) {
    if ((shift & (kCtrlBit | kAltBit)) != 0 || !KeyCodePasses(keyCode)) {
        keyCode = 0;
        return true;
    }
    return false;
}

bool FilterNumericKeyPress(uint16_t& keyAscii) {
    if ((keyAscii >= L'0' && keyAscii <= L'9') || keyAscii == 8 || keyAscii == 9) return false;
    keyAscii = 0;
    return true;
}

ChangeOutcome ApplyNumericChangeRule(std::wstring_view text, NumericFieldRange range) {
    ChangeOutcome out;
    out.text = std::wstring(text);
    if (text.empty()) return out;

    const std::wstring narrow = rt::ToNarrowWidth(text);
    std::wstring settled;
    const bool negative = narrow.size() > 1 && narrow[0] == L'-' && AllDigits(std::wstring_view(narrow).substr(1)) &&
                          DigitsValue(std::wstring_view(narrow).substr(1)) > 0;
    if (negative) {
        settled = rt::ToDecimalText(range.minimum);
    } else {
        std::wstring digits;
        std::copy_if(narrow.begin(), narrow.end(), std::back_inserter(digits), IsDigit);
        if (!digits.empty()) {
            const int64_t v = DigitsValue(digits);
            if (v > range.maximum) settled = rt::ToDecimalText(range.maximum);
            else if (v < range.minimum) settled = rt::ToDecimalText(range.minimum);
            else settled = digits;
        }
    }
    if (settled != text) {
        out.replace = true;
        out.text = settled;
        out.caretToEnd = true;
    }
    return out;
}

std::wstring NumericTextForSetting(int32_t value, NumericFieldRange range) {
    return ApplyNumericChangeRule(rt::ToDecimalText(value), range).text;
}

std::wstring NumericTextOnLeaving(std::wstring_view text, int32_t currentSetting, NumericFieldRange range) {
    if (!text.empty()) return std::wstring(text);
    return NumericTextForSetting(currentSetting, range);
}

std::wstring BlockSizeTextOnLeaving(std::wstring_view text, int16_t currentBlockSize) {
    std::wstring t = NumericTextOnLeaving(text, currentBlockSize, kBlockSizeRange);
    if (AllDigits(t) && DigitsValue(t) < kSmallestBlockOnLeaving) t = rt::ToDecimalText(kSmallestBlockOnLeaving);
    return t;
}

std::wstring PathTextOnLeaving(std::wstring_view text) {
    std::wstring t(text);
    if (!t.empty() && t.back() != L'\\') t += L'\\';
    return t;
}

int16_t TakeInt16Field(std::wstring_view text, int16_t currentSetting) {
    if (text.empty()) return currentSetting;
    try {
        return rt::CInt(rt::TextToNumber(text));
    } catch (const std::exception&) {
        return currentSetting;
    }
}

int32_t TakeInt32Field(std::wstring_view text, int32_t currentSetting) {
    if (text.empty()) return currentSetting;
    try {
        return rt::CLng(rt::TextToNumber(text));
    } catch (const std::exception&) {
        return currentSetting;
    }
}

}  // namespace kpv
