#pragma once
// Benchmarks measure peak memory in a fresh child process: this runs the benchmark itself again with the
// given arguments and returns what the child printed.
#include <windows.h>

#include <string>

#include "runtime/base/handles_win.h"

inline bool RunSelfAndCapture(const std::wstring& arguments, std::string* output) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    kpv::rt::UniqueHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
        return false;
    kpv::rt::UniqueHandle process(child.hProcess), thread(child.hThread);
    writer.reset();  // the child holds the only write end now, so ReadFile ends when it exits
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) output->append(buffer, got);
    WaitForSingleObject(child.hProcess, INFINITE);
    return true;
}
