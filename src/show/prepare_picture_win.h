#pragma once
// Builds the next picture of a show off screen, on the preparation worker: a random entry of the picture
// list (never the one prepared last while another loads), loaded, placed centred on a fixed or random
// background in a picture of the window's size, scaled down to fit when larger, recoloured when the
// settings ask for it. Nothing here touches a window.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "runtime/base/random.h"
#include "runtime/picture/picture_win.h"
#include "settings/saver_settings.h"
#include "show/show_group.h"

namespace kpv {

// What one preparation is given. The generator is the show's own: the show draws nothing from it until
// the result is back, so the draws keep their order (reseed, pick, effect, background, then the reveal's).
struct PreparationRequest {
    PictureListPtr pictures;                   // the complete list, at least one entry
    const SaverSettingsRecord* settings = nullptr;
    std::wstring lastPath;                     // the show's LastPicturePath
    std::shared_ptr<rt::RandomSource> random;
    ShowGroup* group = nullptr;                // for what the other shows hold
    int show = 0;
    float windowWidth = 0, windowHeight = 0;   // twips
    float twipsPerPixelX = 15, twipsPerPixelY = 15;
    int pixelWidth = 0, pixelHeight = 0;       // the window in pixels
};

struct PreparedPicture {
    enum class Outcome { Ready, NoneLoadable, Stopped } outcome = Outcome::Stopped;
    std::wstring path;  // Ready: the entry prepared
    rt::Picture image;  // Ready: the window-sized picture; empty for a window without size
};

// `stop` is asked between the pictures tried: once it is set the preparation gives up (Stopped).
PreparedPicture PreparePicture(const PreparationRequest& request, const std::atomic<bool>& stop);

}  // namespace kpv
