#pragma once
// Builds the next picture off screen in picImage: a random entry of the picture list (never the one
// prepared last), loaded into picGetpic, centred on a fixed or random background, scaled down to fit when
// larger than the window, recoloured when the settings ask for it.
namespace kpv {

class FrmMain;

// The text shown when no picture of the list can be shown at all.
inline constexpr wchar_t kNoPicturesMessage[] = L"指定されたフォルダには、表示できる画像ファイルが存在しません。";

// A file that cannot be loaded is passed over and another one drawn; when none of the list loads, the
// no-pictures message is shown and the program ends.
void PreparePicture(FrmMain& form);

}  // namespace kpv
