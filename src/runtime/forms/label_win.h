#pragma once
// A label sized to its text: a static text control whose width and height follow its caption in its font.
#include <windows.h>

#include <string>

namespace kpv::rt {

HWND CreateLabel(HWND parent, int id, const std::wstring& caption, POINT topLeftPixels, HFONT font);
// A new caption, and the label resized to it.
void SetLabelCaption(HWND label, const std::wstring& caption);

}  // namespace kpv::rt
