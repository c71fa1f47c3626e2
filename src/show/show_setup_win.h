#pragma once
// What one show is given when it starts. The settings are the program's, read-only once the run starts; the
// group, the worker and the generator outlive the show.
#include <windows.h>

#include <memory>

#include "runtime/base/random.h"
#include "settings/saver_settings.h"
#include "show/show_group.h"

namespace kpv {

class PreparationWorker;

struct ShowSetup {
    const SaverSettingsRecord& settings;  // in a preview BlockSize is already 5
    ShowGroup& group;                     // the run this show belongs to
    PreparationWorker& worker;            // prepares its pictures
    int index = 0;                        // its number in the group; 0 is the primary monitor's show
    bool preview = false;                 // false: a full-screen show
    HWND previewHost = nullptr;           // preview: the window the show becomes a child of
    RECT screen{};                        // full screen: the area it covers, in screen pixels
    // The generator the show draws from; its own clock-seeded one when none is given.
    std::shared_ptr<rt::RandomSource> random{};
};

}  // namespace kpv
