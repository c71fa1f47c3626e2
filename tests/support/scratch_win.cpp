#include "support/scratch_win.h"

#include <atomic>
#include <random>

#include "runtime/base/handles_win.h"
#include "support/bytes.h"
#include "support/driver_win.h"
#include "support/host_side_win.h"

namespace kpv::test {

namespace {

// Run by the host shell with $1 the scratch root, $2 the folder holding the entry, $3 the entry's name and $4
// where to put the verdict: realpath resolves every link of both folders, rm -r removes links themselves
// and never follows one. The verdict arrives by file, as nothing else tells when a host program has ended.
constexpr wchar_t kRemoveScript[] =
    L"r=refused; root=$(realpath -e -- \"$1\") && parent=$(realpath -e -- \"$2\") && "
    L"case \"$parent/\" in \"$root\"/*) rm -rf --one-file-system -- \"$parent/$3\" && r=removed;; esac; "
    L"echo $r > \"$4.part\" && mv -- \"$4.part\" \"$4\"";

bool RemoveOnHost(const std::wstring& path) {
    const std::wstring root = HostPath(TestDataDir()), entry = HostPath(path);
    const size_t slash = entry.find_last_of(L'/');
    if (root.empty() || slash == std::wstring::npos) return false;
    const std::wstring name = entry.substr(slash + 1);
    if (name.empty() || name == L"." || name == L"..") return false;
    // Each Wine session numbers its processes itself: a process id alone is no one's own name here.
    static const std::wstring token = std::to_wstring(std::random_device{}()) + L"-" + std::to_wstring(GetCurrentProcessId());
    static std::atomic<unsigned> serial{0};
    const std::wstring verdictName = L".removal-" + SessionName() + L"-" + token + L"-" + std::to_wstring(++serial);
    const std::wstring verdict = TestDataDir() + L"\\" + verdictName;
    if (!RunHostShell(kRemoveScript, [&] { return Exists(verdict); }, 120000,
                      {root, entry.substr(0, slash), name, root + L"/" + verdictName}))
        return false;
    const std::string said = ReadFileBytes(verdict);
    DeleteFileW(verdict.c_str());
    return said.starts_with("removed");
}

}  // namespace

std::wstring TestDataDir() { return BuildDir() + L"\\testdata"; }

std::wstring SessionName() {
    wchar_t name[64] = {};
    const DWORD n = GetEnvironmentVariableW(L"KPV_SESSION", name, 64);
    return n > 0 && n < 64 ? std::wstring(name, n) : std::wstring(L"main");
}

std::wstring InSession(const std::wstring& name) { return name + L"." + SessionName(); }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeDirectory(const std::wstring& path) {
    // Folder by folder, at any depth; the drive and prefix parts fail harmlessly.
    for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveTree(const std::wstring& path) {
    // Wine shows a host link as a plain folder, so only the host itself can tell links apart; the tests run
    // under Wine, and elsewhere nothing is deleted.
    return !Exists(path) || (UnderWine() && RemoveOnHost(path));
}

std::wstring FreshFolder(const std::wstring& name) {
    const std::wstring folder = TestDataDir() + L"\\" + name;
    RemoveTree(folder);
    MakeDirectory(folder);
    return folder;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    rt::UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
    rt::UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!f || !GetFileSizeEx(f.get(), &size)) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

bool WriteBmp(const std::wstring& path, int width, int height, const std::function<uint32_t(int, int)>& colour) {
    const Bytes bmp = Bmp24(width, height, colour);
    return WriteFileBytes(path, std::string(bmp.begin(), bmp.end()));
}

}  // namespace kpv::test
