#pragma once
// The font of the dialogs' controls: a Japanese gothic face at 9 points for the display's DPI. It asks for
// the Japanese character set, so the font mapper picks a face that has the glyphs whatever the system's
// code page is. Created once and kept for the life of the program.
#include <windows.h>

#include <functional>

namespace kpv::rt {

// Calls visit for every face of the character set that the screen offers. No exception passes through GDI:
// one thrown by visit ends the enumeration as an untrapped error of the program.
void EnumerateFaces(BYTE charSet, const std::function<void(const LOGFONTW&, const TEXTMETRICW&)>& visit);

HFONT DialogFont();

// Width and height in pixels of a text drawn in a font.
SIZE TextExtent(HFONT font, const wchar_t* text, int length);

}  // namespace kpv::rt
