#pragma once
// The system colour dialog for the fixed background colour: fully opened, the given colour preselected,
// the sixteen palette colours as custom colours. Owned by the settings dialog.
#include <cstdint>

namespace kpv {

inline constexpr wchar_t kColourChooserError[] = L"エラーが発生しました。";

// Returns the chosen colour, or `colour` itself when the user cancels or the dialog fails.
uint32_t SelectColor(uint32_t colour);

}  // namespace kpv
