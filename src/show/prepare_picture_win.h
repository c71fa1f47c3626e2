#pragma once
// Builds the next picture of a show off screen, on a preparation worker: a random entry of the picture
// list (never the one prepared last while another loads), loaded, placed centred on a fixed or random
// background in a picture of the window's size, scaled down to fit when larger, recoloured when the
// settings ask for it. Nothing here touches a window.
#include <cstdint>
#include <memory>
#include <string>

#include "runtime/base/random.h"
#include "runtime/picture/picture_win.h"

namespace kpv {

struct RunState;

// What one preparation is given. The generator is the show's own: the show draws nothing from it until
// the result is back, so the draws keep their order (reseed, pick, effect, background, then the reveal's).
struct PreparationRequest {
    std::shared_ptr<RunState> run;  // the settings, the list, what other shows hold, what failed
    int show = 0;
    std::wstring lastPath;  // the show's LastPicturePath
    std::shared_ptr<rt::RandomSource> random;
    float windowWidth = 0, windowHeight = 0;  // twips
    float twipsPerPixelX = 15, twipsPerPixelY = 15;
    int pixelWidth = 0, pixelHeight = 0;  // the window in pixels
};

struct PreparedPicture {
    enum class Outcome {
        Ready,         // `image` holds the picture of `path`
        NothingFound,  // no picture to prepare yet: the show stays as it is until its next tick
        NoneLoadable,  // none of the list loads
        Failed,        // the preparation failed; `path` holds the report for the user
        Stopped,       // the run ended, or the preparation was given up
    } outcome = Outcome::Stopped;
    std::wstring path;
    rt::Picture image;  // Ready: the window-sized picture; empty for a window without size
};

// How a preparation hears that it should stop, and tells how far it got: every step and every band of a
// decode is progress; a preparation that makes none for too long is given up by whoever watches it.
class PreparationControl : public rt::LoadWatch {
public:
    // Counts as progress; false once the preparation should stop.
    bool Continue() override = 0;
    // The preparation now reads this file.
    virtual void Attempting(const std::wstring& path) = 0;

protected:
    ~PreparationControl() = default;
};

PreparedPicture PreparePicture(const PreparationRequest& request, PreparationControl& control);

}  // namespace kpv
