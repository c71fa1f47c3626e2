#include "runtime/base/app_info_win.h"

#include <windows.h>

#include <vector>

#include "runtime/base/handles_win.h"

namespace kpv::rt {

std::wstring AppTitle() { return L"KPV"; }

std::wstring AppExePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) { buffer.resize(n); return buffer; }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring AppPath() {
    std::wstring path = AppExePath();
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    path.resize(slash);
    // A drive's root keeps its backslash ("C:\"), any other folder has none.
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return path;
}

namespace {

struct VersionData {
    std::vector<unsigned char> block;
    VS_FIXEDFILEINFO fixed{};
    std::wstring stringBlock;  // "\StringFileInfo\<lang><codepage>\"
};

const VersionData& Version() {
    static const VersionData data = [] {
        VersionData d;
        const std::wstring exe = AppExePath();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        if (size == 0) return d;
        d.block.resize(size);
        if (!GetFileVersionInfoW(exe.c_str(), 0, size, d.block.data())) { d.block.clear(); return d; }
        void* p = nullptr;
        UINT len = 0;
        if (VerQueryValueW(d.block.data(), L"\\", &p, &len) && len >= sizeof(VS_FIXEDFILEINFO))
            d.fixed = *static_cast<VS_FIXEDFILEINFO*>(p);
        struct Translation { WORD language; WORD codePage; };
        wchar_t key[64] = L"\\StringFileInfo\\041104b0\\";
        if (VerQueryValueW(d.block.data(), L"\\VarFileInfo\\Translation", &p, &len) && len >= sizeof(Translation)) {
            const auto* t = static_cast<Translation*>(p);
            wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\", t->language, t->codePage);
        }
        d.stringBlock = key;
        return d;
    }();
    return data;
}

std::wstring VersionString(const wchar_t* name) {
    const VersionData& d = Version();
    if (d.block.empty()) return {};
    void* p = nullptr;
    UINT len = 0;
    const std::wstring key = d.stringBlock + name;
    if (!VerQueryValueW(d.block.data(), key.c_str(), &p, &len) || len == 0) return {};
    std::wstring s(static_cast<const wchar_t*>(p), len);
    while (!s.empty() && s.back() == L'\0') s.pop_back();
    return s;
}

}  // namespace

uint16_t AppMajor() { return HIWORD(Version().fixed.dwFileVersionMS); }
uint16_t AppMinor() { return LOWORD(Version().fixed.dwFileVersionMS); }
uint16_t AppRevision() { return LOWORD(Version().fixed.dwFileVersionLS); }
std::wstring AppLegalCopyright() { return VersionString(L"LegalCopyright"); }
std::wstring AppCompanyName() { return VersionString(L"CompanyName"); }

std::wstring CommandArgsFrom(const wchar_t* line) {
    if (!line) return {};
    const wchar_t* p = line;
    // The program's own path: quoted, or up to the first blank.
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

std::wstring CommandArgs() { return CommandArgsFrom(GetCommandLineW()); }

bool AppPrevInstance() {
    // A named mutex lives as long as any process of the program holds it, so its prior existence means
    // another copy is running now. The handle is kept open for the whole life of this process.
    static const bool another = [] {
        HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\KPV.ScreenSaver.RunningCopy");
        return mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    }();
    return another;
}

}  // namespace kpv::rt
