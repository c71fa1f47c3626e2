#pragma once
// A preview handle that is not a number, or too large for one, is reported like any runtime error.
namespace kpv {

inline constexpr wchar_t kTypeMismatchDescription[] = L"型が一致しません。";
inline constexpr int kTypeMismatchNumber = 13;
inline constexpr wchar_t kOverflowDescription[] = L"オーバーフローしました。";
inline constexpr int kOverflowNumber = 6;

}  // namespace kpv
