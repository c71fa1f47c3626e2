#include "app/run_mode.h"

namespace kpv {

RunModeKind RunModeFromArgs(std::wstring_view args) {
    const std::wstring_view head = args.substr(0, 2);
    if (head == L"/s" || head == L"/S") return RunModeKind::Show;
    if (head == L"/p" || head == L"/P") return RunModeKind::Preview;
    return RunModeKind::Settings;
}

std::wstring_view PreviewHandleText(std::wstring_view args) {
    return args.size() > 3 ? args.substr(3) : std::wstring_view();
}

}  // namespace kpv
