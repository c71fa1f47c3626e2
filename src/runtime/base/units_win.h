#pragma once
// Twips (1/1440 inch) and the display's twips-per-pixel factors, from the real DPI.
namespace kpv::rt {

// The screen's dots per inch (LOGPIXELSX or LOGPIXELSY); 96 when the screen cannot tell.
int ScreenLogPixels(int index);

float TwipsPerPixelX();
float TwipsPerPixelY();
float ScreenWidthTwips();   // primary screen width in pixels times TwipsPerPixelX
float ScreenHeightTwips();

}  // namespace kpv::rt
