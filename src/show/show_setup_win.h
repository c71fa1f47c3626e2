#pragma once
// What one show is given when it starts. All of it is read-only for the show's whole life, so shows on
// several threads can share the settings and the picture list.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/saver_settings.h"
#include "show/show_group.h"

namespace kpv {

struct ShowSetup {
    const SaverSettingsRecord& settings;        // in a preview BlockSize is already 5
    const std::vector<std::wstring>& pictures;  // the catalogue: at least one entry
    bool preview = false;                       // false: a full-screen show
    HWND previewHost = nullptr;                 // preview: the window the show becomes a child of
    RECT screen{};                              // full screen: the area it covers, in screen pixels
    ShowGroup* group = nullptr;                 // the shows on the other monitors; none: a show alone
    // Runs last when the show unloads, after the show restored the cursor or asked its owner to close:
    // the program clears its instance flag and ends here. A test may end only the show.
    std::function<void()> ended{};
};

}  // namespace kpv
