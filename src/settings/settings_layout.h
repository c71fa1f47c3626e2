#pragma once
// Byte-level rules of the stored settings: the "Path" text buffer and the little-endian numeric values.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace kpv {

// "Path" is read into a zero-filled buffer twice as large as announced, so the text read always ends in a
// NUL however the platform fills it: at most 260 bytes of text and its NUL fit the announced size.
inline constexpr size_t kPathBufferBytes = 520;
inline constexpr uint32_t kPathAnnouncedBytes = 261;

// The text before the first NUL character (all of it when there is none).
std::wstring TextBeforeFirstNul(std::wstring_view text);

// The picture folder as the program uses it: the stored text when it could be read, else the executable's
// folder; then a trailing backslash unless there is one already (so "" gives "\" and "C:\" stays "C:\").
std::wstring PictureFolderFrom(const std::optional<std::wstring>& storedText, std::wstring_view exeFolder);

// Copies the data into the field's low-order bytes, the least significant first; the field's other bytes
// keep their value. Data longer than the field is the caller's error and is cut to the field's width.
template <typename Field>
void FillLowOrderBytes(Field& field, std::span<const uint8_t> data) {
    using Unsigned = std::make_unsigned_t<Field>;
    auto bits = static_cast<Unsigned>(field);
    const size_t count = data.size() < sizeof(Field) ? data.size() : sizeof(Field);
    for (size_t i = 0; i < count; ++i) {
        const Unsigned mask = static_cast<Unsigned>(Unsigned{0xFF} << (8 * i));
        bits = static_cast<Unsigned>((bits & static_cast<Unsigned>(~mask)) |
                                     static_cast<Unsigned>(Unsigned{data[i]} << (8 * i)));
    }
    field = static_cast<Field>(bits);
}

// The stored form of a numeric field: its bytes, least significant first.
template <typename Field>
std::array<uint8_t, sizeof(Field)> LittleEndianBytes(Field value) {
    using Unsigned = std::make_unsigned_t<Field>;
    const auto bits = static_cast<Unsigned>(value);
    std::array<uint8_t, sizeof(Field)> bytes{};
    for (size_t i = 0; i < sizeof(Field); ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    return bytes;
}

}  // namespace kpv
