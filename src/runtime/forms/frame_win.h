#pragma once
// A frame: a container for controls, drawn as an etched border with a caption in its top edge, or not
// drawn at all (a plain frame only makes its option buttons a group of their own). Positions of the
// controls inside are relative to the frame's top-left corner. What the controls report goes on to the
// frame's parent, so the dialog sees it as from its own controls, and the dialog manager walks into the
// frame for Tab and the arrow keys.
#include <windows.h>

#include <string>

namespace kpv::rt {

HWND CreateFrame(HWND parent, int id, const std::wstring& caption, const RECT& pixels, bool bordered, HFONT font);

}  // namespace kpv::rt
