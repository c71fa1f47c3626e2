#pragma once
// Number conversions with the rules the whole program follows: a floating value becomes an integer by
// rounding to the nearest, ties to even, and a value that does not fit the target is an overflow error.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kpv::rt {

// Raised when a conversion does not fit its target type (error 6 of the runtime).
struct OverflowError : std::runtime_error {
    OverflowError() : std::runtime_error("Overflow") {}
};

// Raised when a text is not a number (error 13 of the runtime).
struct TypeMismatchError : std::runtime_error {
    TypeMismatchError() : std::runtime_error("Type mismatch") {}
};

double RoundHalfEven(double v);
int16_t CInt(double v);   // nearest, ties to even; OverflowError outside -32768..32767
int32_t CLng(double v);   // nearest, ties to even; OverflowError outside the 32-bit range
double Int(double v);     // floor
// Nearest, ties to even, like CLng, but never fails: beyond the 32-bit range the value is held to it and NaN
// gives 0, for sizes that a damaged setting or a strange display must not turn into an error.
int32_t RoundHeldToInt32(double v);

// The ordinary text-to-number conversion: surrounding blanks allowed, optional sign, decimal digits with an
// optional fraction and exponent. TypeMismatchError for anything else, including an empty text.
double TextToNumber(std::wstring_view text);
int32_t TextToLong(std::wstring_view text);  // TextToNumber, then CLng
// Leading decimal digits of a text as a number (blanks skipped), 0 when there are none: never throws.
int64_t LeadingDigitsValue(std::wstring_view text);

std::wstring ToDecimalText(int64_t v);

}  // namespace kpv::rt
