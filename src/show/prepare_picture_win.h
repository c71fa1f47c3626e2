#pragma once
// Builds the next picture off screen in picImage: a random entry of the picture list (never the one
// prepared last), loaded into picGetpic, centred on a fixed or random background, scaled down to fit when
// larger than the window, recoloured when the settings ask for it.
namespace kpv {

class FrmMain;

// A file that cannot be loaded is passed over and another one drawn; when none of the list loads, the
// no-pictures message is shown and the program ends. Draws come from the show's own generator.
void PreparePicture(FrmMain& form);

}  // namespace kpv
