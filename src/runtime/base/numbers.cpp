#include "runtime/base/numbers.h"

#include <cmath>
#include <cwctype>
#include <limits>

namespace kpv::rt {

double RoundHalfEven(double v) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even unless someone changed it.
    return std::nearbyint(v);
}

int16_t CInt(double v) {
    const double r = RoundHalfEven(v);
    if (!(r >= -32768.0 && r <= 32767.0)) throw OverflowError();
    return static_cast<int16_t>(r);
}

int32_t CLng(double v) {
    const double r = RoundHalfEven(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw OverflowError();
    return static_cast<int32_t>(r);
}

double Int(double v) { return std::floor(v); }

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

double TextToNumber(std::wstring_view text) {
    size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i])) ++i;
    while (n > i && IsBlank(text[n - 1])) --n;
    if (i == n) throw TypeMismatchError();
    std::string ascii;
    if (text[i] == L'+' || text[i] == L'-') ascii += static_cast<char>(text[i++]);
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) { ascii += static_cast<char>(text[i++]); ++digits; }
    if (i < n && text[i] == L'.') {
        ascii += '.';
        ++i;
        while (i < n && IsDigit(text[i])) { ascii += static_cast<char>(text[i++]); ++digits; }
    }
    if (digits == 0) throw TypeMismatchError();
    if (i < n && (text[i] == L'e' || text[i] == L'E')) {
        ascii += 'e';
        ++i;
        if (i < n && (text[i] == L'+' || text[i] == L'-')) ascii += static_cast<char>(text[i++]);
        size_t expDigits = 0;
        while (i < n && IsDigit(text[i])) { ascii += static_cast<char>(text[i++]); ++expDigits; }
        if (expDigits == 0) throw TypeMismatchError();
    }
    if (i != n) throw TypeMismatchError();
    const double v = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(v)) throw OverflowError();
    return v;
}

int32_t RoundHeldToInt32(double v) {
    if (std::isnan(v)) return 0;
    const double r = RoundHalfEven(v);
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(r);
}

int32_t TextToLong(std::wstring_view text) { return CLng(TextToNumber(text)); }

int64_t LeadingDigitsValue(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    int64_t v = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (v > std::numeric_limits<int64_t>::max() / 20) break;  // far beyond any field's range already
        v = v * 10 + (text[i] - L'0');
    }
    return v;
}

std::wstring ToDecimalText(int64_t v) { return std::to_wstring(v); }

}  // namespace kpv::rt
