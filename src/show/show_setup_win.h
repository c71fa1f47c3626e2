#pragma once
// What one show is given when it starts: its share of the run, and where it shows.
#include <windows.h>

#include <memory>

#include "runtime/base/random.h"

namespace kpv {

struct RunState;

struct ShowSetup {
    std::shared_ptr<RunState> run;  // the settings (read-only), the group, the preparation workers
    int index = 0;                  // its number in the group; 0 is the primary monitor's show
    bool preview = false;           // false: a full-screen show
    HWND previewHost = nullptr;     // preview: the window the show becomes a child of
    RECT screen{};                  // full screen: the area it covers, in screen pixels
    // The generator the show draws from; its own clock-seeded one when none is given.
    std::shared_ptr<rt::RandomSource> random{};
};

}  // namespace kpv
