#pragma once
// Input rules of the dialog's text fields: which keys and characters a numeric field lets through, how its
// text is kept inside the field's range while the user types, what it becomes when the field is left, and
// how OK reads it back. No window is involved: the dialog feeds these rules from its event handlers.
#include <cstdint>
#include <string>
#include <string_view>

namespace kpv {

struct NumericFieldRange {
    int32_t minimum;
    int32_t maximum;
    int maxLength;  // characters the text box accepts from the keyboard
};

inline constexpr NumericFieldRange kViewTimeRange{1, 60, 2};      // txtViewTime: Interval, seconds
inline constexpr NumericFieldRange kDrawSpeedRange{0, 20000, 5};  // txtDrawSpeed: Speed
inline constexpr NumericFieldRange kBlockSizeRange{1, 300, 3};    // txtBlockSize: BlockSize, pixels
inline constexpr int32_t kSmallestBlockOnLeaving = 10;

// Modifier bits of a KeyDown event.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

// KeyDown of a numeric field. A discarded key has keyCode set to 0; the result says whether to beep.
bool FilterNumericKeyDown(uint16_t& keyCode, int shift);

// KeyPress of a numeric field: only "0".."9", Backspace and Tab pass. Same conventions as the key filter.
bool FilterNumericKeyPress(uint16_t& keyAscii);

// What the Change rule does with a field's text.
struct ChangeOutcome {
    bool replace = false;     // the text must become `text`
    std::wstring text;        // the settled text (equal to the input when nothing changes)
    bool caretToEnd = false;  // after replacing, the caret goes behind the last character
};

// Change of a numeric field, on every change of its text. An empty text is left alone. Otherwise full-width
// digits become ASCII digits and the value is kept inside the range: above the maximum it becomes the
// maximum, below the minimum the minimum. Text that is not a plain number can only arrive by pasting: a
// negative number counts as below the minimum, anything else keeps just its digits (no digits: empty).
// The outcome is settled: applying the rule to outcome.text changes nothing.
ChangeOutcome ApplyNumericChangeRule(std::wstring_view text, NumericFieldRange range);

// LostFocus of txtViewTime and txtDrawSpeed: an empty text becomes the current setting (as the field shows
// it, that is after its Change rule); any other text stays.
std::wstring NumericTextOnLeaving(std::wstring_view text, int32_t currentSetting, NumericFieldRange range);

// LostFocus of txtBlockSize: as above, and then a value below 10 becomes 10.
std::wstring BlockSizeTextOnLeaving(std::wstring_view text, int16_t currentBlockSize);

// LostFocus of txtPath: a non-empty text that does not end in "\" gets one.
std::wstring PathTextOnLeaving(std::wstring_view text);

// The text a numeric field shows for a setting, through its Change rule (a stored value outside the
// field's range is shown clamped).
std::wstring NumericTextForSetting(int32_t value, NumericFieldRange range);

// OK takes a field's text as a 16-bit or 32-bit integer. An empty field (OK pressed with Enter before the
// field lost focus) and, defensively, a text that is not a number in the type's range give the current
// setting instead.
int16_t TakeInt16Field(std::wstring_view text, int16_t currentSetting);
int32_t TakeInt32Field(std::wstring_view text, int32_t currentSetting);

}  // namespace kpv
