#pragma once
// Twips (1/1440 inch) and the display's twips-per-pixel factors, from the real DPI.
namespace kpv::rt {

float TwipsPerPixelX();
float TwipsPerPixelY();
float ScreenWidthTwips();   // primary screen width in pixels times TwipsPerPixelX
float ScreenHeightTwips();

}  // namespace kpv::rt
