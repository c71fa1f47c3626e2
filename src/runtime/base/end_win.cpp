#include "runtime/base/end_win.h"

#include <windows.h>

namespace kpv::rt {

namespace {

using TerminateProcessCall = LONG(NTAPI*)(HANDLE process, LONG status);

// Every thread but this one, as the system's own process exit does first, without the DLL detach code that
// the system then runs.
void EndOtherThreads(unsigned exitCode) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto terminate = ntdll ? reinterpret_cast<TerminateProcessCall>(
                                       reinterpret_cast<void*>(GetProcAddress(ntdll, "NtTerminateProcess")))
                                 : nullptr;
    if (terminate) terminate(nullptr, static_cast<LONG>(exitCode));
}

}  // namespace

void EndProgram(unsigned exitCode) {
    // Not ExitProcess: that would stop other threads wherever they are (inside the decoder or the heap,
    // holding its lock) and then run every DLL's detach code, which could wait on that lock for ever. The
    // other threads go first, a thread stuck in a read that never returns among them, so that nothing is
    // left that keeps the process from being over; then the process ends. Every registry write is complete
    // by now, and windows go with the process.
    EndOtherThreads(exitCode);
    TerminateProcess(GetCurrentProcess(), exitCode);
    ExitProcess(exitCode);  // only if the platform refused to end us
}

}  // namespace kpv::rt
