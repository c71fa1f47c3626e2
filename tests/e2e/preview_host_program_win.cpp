// kpv_preview_host FILE: holds a preview host window, writes its preview window's handle to FILE, and when
// FILE.quit appears ends without destroying the window, as a settings dialog's process that is killed would.
#include "e2e/preview_host_win.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const std::wstring file = argv[1];
    kpv::test::HostWindows host;
    const std::wstring handle = kpv::test::HandleText(host.preview);
    if (!kpv::test::WriteFileBytes(file, std::string(handle.begin(), handle.end()))) return 1;
    kpv::test::PumpUntil([&] { return kpv::test::Exists(file + L".quit"); }, 60000);
    ExitProcess(0);
}
