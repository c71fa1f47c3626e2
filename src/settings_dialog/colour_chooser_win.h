#pragma once
// The system colour dialog for the fixed background colour: fully opened, the given colour preselected,
// the sixteen palette colours as custom colours. Owned by the settings dialog.
#include <array>
#include <cstdint>

namespace kpv {

// The custom colours handed to the dialog; the palette is put back into them on every call.
extern std::array<uint32_t, 16> CustomColors;

inline constexpr wchar_t kColourChooserError[] = L"エラーが発生しました。";

// Returns the chosen colour, or `colour` itself when the user cancels or the dialog fails.
uint32_t SelectColor(uint32_t colour);

}  // namespace kpv
