#include "support/host_side_win.h"

#include "support/driver_win.h"

namespace kpv::test {

namespace {

using HostNameFunction = char*(CDECL*)(const wchar_t*);

HostNameFunction HostNameConverter() {
    return reinterpret_cast<HostNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

// One argument of a command line, quoted so that the receiving side splits it back out unchanged.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'"') quoted.append(backslashes + 1, L'\\');
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        quoted += c;
    }
    return quoted.append(backslashes, L'\\') + L"\"";
}

}  // namespace

bool UnderWine() { return HostNameConverter() != nullptr; }

std::wstring HostPath(const std::wstring& windowsPath) {
    const HostNameFunction convert = HostNameConverter();
    char* host = convert ? convert(windowsPath.c_str()) : nullptr;
    if (!host) return {};
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, host, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, host, -1, wide.data(), static_cast<int>(wide.size()));
    HeapFree(GetProcessHeap(), 0, host);
    if (!wide.empty()) wide.pop_back();
    return wide;
}

bool RunHostShell(const std::wstring& script, const std::function<bool()>& done, int timeoutMs,
                  std::initializer_list<std::wstring> arguments) {
    std::wstring line = L"-c " + Quoted(script) + L" sh";
    for (const std::wstring& argument : arguments) line += L" " + Quoted(argument);
    StartProgram(L"/bin/sh", line);
    return PollUntil(done, timeoutMs);
}

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    if (!UnderWine()) return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) != 0;
    const size_t slash = link.find_last_of(L'\\');
    return RunHostShell(L"ln -s -- \"$1\" \"$2\"", [&] { return Exists(link); }, 60000,
                        {HostPath(target), HostPath(link.substr(0, slash)) + L"/" + link.substr(slash + 1)});
}

bool MakeEmptyFiles(const std::wstring& folder, const std::wstring& prefix, int count, const std::wstring& suffix) {
    if (!UnderWine()) {
        for (int i = 0; i < count; ++i)
            if (!WriteFileBytes(folder + L"\\" + prefix + std::to_wstring(i) + suffix, {})) return false;
        return true;
    }
    const std::wstring last = folder + L"\\" + prefix + std::to_wstring(count - 1) + suffix;
    return RunHostShell(L"cd -- \"$1\" && i=0 && while [ $i -lt $2 ]; do : > \"$3$i$4\"; i=$((i+1)); done",
                        [&] { return Exists(last); }, 120000, {HostPath(folder), std::to_wstring(count), prefix, suffix});
}

}  // namespace kpv::test
