#pragma once
// How the command line chooses between the show, the preview and the settings dialog.
#include <string_view>

namespace kpv {

enum class RunModeKind { Settings, Show, Preview };

// Only the first two characters count, compared case-sensitively with "/s", "/S", "/p" and "/P";
// anything else, an empty argument text included, opens the settings dialog.
RunModeKind RunModeFromArgs(std::wstring_view args);

// The preview window's handle is everything after the first three characters ("/p 1234", "/P:1234").
std::wstring_view PreviewHandleText(std::wstring_view args);

}  // namespace kpv
