// The setup program built from KPV.scr, in a throw-away copy of the test prefix (in_prefix_copy.sh): run
// silently as an administrator's script would, and clicked through as a user would. What it puts into
// System32 and the registry, the finish page's choice of KPV, that the installed file runs a show, that
// installing again and uninstalling keep the user's settings unless asked to remove them, that an uninstall
// leaves other files alone, and that a running show of the installed file never leaves half an
// installation behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/driver_win.h"
#include "runtime/base/text_win.h"
#include "support/scratch_win.h"

namespace kpv {
namespace {

using namespace kpv::test;

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KPV";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kSaverValue[] = L"SCRNSAVE.EXE";
constexpr int kSetupTimeoutMs = 60000;

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::optional<std::wstring> ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD size = 0;
    const DWORD flags = RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY;
    if (RegGetValueW(root, key, name, flags, nullptr, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key, name, flags, nullptr, text.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    text.resize(wcslen(text.c_str()));
    return text;
}

std::optional<DWORD> ReadDword(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6464KEY, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> EntryString(const wchar_t* name) { return ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, name); }
bool EntryExists() { return EntryString(L"UninstallString").has_value(); }

std::optional<std::wstring> ChosenSaver() { return ReadString(HKEY_CURRENT_USER, kDesktopKey, kSaverValue); }
void ChooseSaver(const std::wstring& path) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kSaverValue, REG_SZ, path.c_str(),
                    static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

std::wstring InstalledScr() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\KPV.scr";
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<char> FileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A string of the version resource, as the file properties show it.
std::wstring VersionText(const std::wstring& file, const std::wstring& name) {
    std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), nullptr));
    if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) return {};
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), (L"\\StringFileInfo\\041104b0\\" + name).c_str(), &text, &length)) return {};
    return static_cast<const wchar_t*>(text);
}

// The setup program built beside the tested KPV.scr, named after the version it carries.
std::wstring SetupPath() {
    const std::wstring scr = ScrPath();
    return scr.substr(0, scr.find_last_of(L'\\')) + L"\\dist\\KPV-" + VersionText(scr, L"ProductVersion") + L"-setup.exe";
}

// Runs a command line together with every process it starts (the uninstaller hands over to a copy of
// itself in the temporary folder) until all of them have ended. Returns the first process's exit code.
long long RunToEnd(std::wstring commandLine) {
    // Under Wine the first program that needs the desktop starts the desktop's own process, which would
    // join the job and outlive the setup: have this process start it, outside the job, and keep it in use.
    GetDesktopWindow();
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return -1;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
        return -1;
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) return -1;
    ResumeThread(thread.get());
    const bool ended = PollUntil([&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
        return info.ActiveProcesses == 0;
    }, kSetupTimeoutMs);
    DWORD code = 0;
    if (!ended || !GetExitCodeProcess(process.get(), &code)) return -1;
    return code;
}

long long SilentInstall() { return RunToEnd(L"\"" + SetupPath() + L"\" /S"); }
// As a script or a package manager uninstalls: the entry's quiet command, whose exit code is the
// uninstaller's own.
long long QuietUninstall() { return RunToEnd(EntryString(L"QuietUninstallString").value_or(L"uninstall-entry-missing")); }
// As Apps does, silently: the uninstaller hands over to a copy of itself, which can remove the original.
long long SilentUninstall() {
    return RunToEnd(EntryString(L"UninstallString").value_or(L"uninstall-entry-missing") + L" /S");
}

// NSIS's exit code when the script gave up (a file it could not write or remove).
constexpr long long kAbortedByScript = 2;

std::wstring InstallFolder() { return EntryString(L"InstallLocation").value_or(L""); }

int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The files the next restart deletes, as MoveFileEx records them.
std::wstring PendingDeletions() {
    DWORD size = 0;
    const wchar_t* key = L"System\\CurrentControlSet\\Control\\Session Manager";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return {};
    std::wstring all(size / sizeof(wchar_t), L'\0');
    RegGetValueW(HKEY_LOCAL_MACHINE, key, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, all.data(), &size);
    return all;
}

// As stored for the user: a process keeps its own copy of what it read, so the registry tells what
// another process set.
bool ScreenSaverActive() { return ReadString(HKEY_CURRENT_USER, kDesktopKey, L"ScreenSaveActive") == L"1"; }

// The visible wizard pages and questions of the setup or its uninstaller, whichever process shows them.
std::vector<HWND> WizardWindows() {
    std::vector<HWND> found;
    EnumWindows([](HWND w, LPARAM p) -> BOOL {
        if (IsWindowVisible(w) && WindowClass(w) == L"#32770" && WindowText(w).find(L"KPV") != std::wstring::npos)
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What tells one wizard page from the next: the inner page dialog the wizard shows, and its main button's text.
std::wstring PageOf(HWND wizard) {
    HWND page = nullptr;
    EnumChildWindows(wizard, [](HWND w, LPARAM p) -> BOOL {
        if (WindowClass(w) != L"#32770" || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&page));
    HWND main = GetDlgItem(wizard, IDOK);
    return std::to_wstring(reinterpret_cast<uintptr_t>(page)) + L"|" + (main ? WindowText(main) : L"");
}

// Clicks through a wizard as a user would: its main button (Next, Install, Uninstall, Finish, Close)
// whenever it is enabled, and `answer` in a question box, whose text it returns; until done() holds.
std::wstring ClickThrough(int answer, const std::function<bool()>& done) {
    std::wstring question;
    PollUntil([&] {
        for (HWND w : WizardWindows()) {
            if (GetDlgItem(w, IDYES)) {
                question = MessageBoxText(w);
                PressButton(w, answer);
                PollUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); }, 5000);
            } else if (HWND main = GetDlgItem(w, IDOK); main && IsWindowEnabled(main)) {
                // One click per page: the next comes once the page has changed (another page, or a wizard gone).
                const std::wstring page = PageOf(w);
                PressButton(w, IDOK);
                PollUntil([&] { return !IsWindow(w) || PageOf(w) != page; }, 5000);
            }
        }
        return done();
    }, kSetupTimeoutMs);
    return question;
}

std::string Narrow(const std::wstring& w) { return rt::WideToAnsi(w); }

std::wstring Unquoted(const std::wstring& s) {
    return s.size() >= 2 && s.front() == L'"' ? s.substr(1, s.find(L'"', 1) - 1) : s;
}

// Every case starts without KPV installed, without its settings and with no screen saver chosen.
class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteProgramKey();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kSaverValue);
        ASSERT_FALSE(EntryExists());
        ASSERT_FALSE(FileExists(InstalledScr()));
        ASSERT_TRUE(FileExists(SetupPath())) << "setup program not built";
    }
    void TearDown() override {
        show_ = Process();
        if (EntryExists()) SilentUninstall();
        DeleteProgramKey();
    }

    // A settings set that the setup and the uninstaller must leave alone: the picture folder in this
    // prefix with one small picture, and a picture interval a fresh key would not have.
    static void WriteSettings() {
        ASSERT_TRUE(MakeDirectory(L"C:\\kpv-pictures"));
        ASSERT_TRUE(WriteBmp(L"C:\\kpv-pictures\\one.bmp", 64, 48,
                             [](int x, int y) { return static_cast<uint32_t>(x * 0x030000 + y * 0x0500); }));
        WriteProgramPathA(L"Settings", L"Path", "C:\\kpv-pictures\\");
        WriteProgramInt16(L"Settings", L"SubFolder", 0);
        WriteProgramInt16(L"Settings", L"Interval", 7);
    }
    static void ExpectSettingsKept() {
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, L"Software\\Tarnel Software\\KPV\\Settings", L"Path"),
                  L"C:\\kpv-pictures\\");
        EXPECT_EQ(ReadProgramValue(L"Settings", L"Interval").data, std::vector<uint8_t>({7, 0}));
    }

    // The full-screen show of the installed file: a visible top-level window that is not a message box.
    HWND StartShow() {
        show_ = StartProgram(InstalledScr(), L"/s");
        return WaitForWindow(show_.pid(), [](HWND w) { return IsWindowVisible(w) && WindowClass(w) != L"#32770"; }, 30000);
    }
    bool EndShow() {
        SendKey('A');
        return show_.Wait(10000) == 0;
    }

    Process show_;
};

TEST_F(Installer, SilentInstallPutsTheBuiltScreenSaverIntoSystem32AndRegistersIt) {
    ChooseSaver(L"C:\\windows\\system32\\other.scr");
    ASSERT_EQ(SilentInstall(), 0);

    const std::vector<char> built = FileBytes(ScrPath());
    ASSERT_FALSE(built.empty());
    EXPECT_TRUE(FileBytes(InstalledScr()) == built) << "System32 holds another file than the build's KPV.scr";
    EXPECT_EQ(EntryString(L"DisplayName"), L"KPV 画像スライドショー");
    EXPECT_EQ(EntryString(L"DisplayVersion"), VersionText(ScrPath(), L"ProductVersion"));
    EXPECT_EQ(EntryString(L"Publisher"), L"Tarnel Software");
    EXPECT_EQ(EntryString(L"DisplayIcon"), InstalledScr() + L",0");
    const std::wstring folder = InstallFolder();
    const int64_t bytes = FileSize(InstalledScr()) + FileSize(folder + L"\\Uninstall.exe") +
                          FileSize(folder + L"\\ChooseKPV.exe");
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize"), static_cast<DWORD>((bytes + 1023) / 1024))
        << "what the three files take, in KB";
    EXPECT_EQ(Unquoted(EntryString(L"UninstallString").value_or(L"")), folder + L"\\Uninstall.exe");
    EXPECT_TRUE(FileExists(folder + L"\\Uninstall.exe"));
    EXPECT_EQ(ChosenSaver(), L"C:\\windows\\system32\\other.scr") << "a silent setup must not choose the saver";
}

TEST_F(Installer, TheInstalledScreenSaverRunsAShow) {
    ASSERT_EQ(SilentInstall(), 0);
    WriteSettings();

    HWND window = StartShow();
    ASSERT_NE(window, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(EndShow());
}

TEST_F(Installer, InstallingAgainKeepsTheSettings) {
    ASSERT_EQ(SilentInstall(), 0);
    WriteSettings();

    ASSERT_EQ(SilentInstall(), 0);
    EXPECT_TRUE(FileBytes(InstalledScr()) == FileBytes(ScrPath()));
    EXPECT_TRUE(EntryExists());
    ExpectSettingsKept();
}

TEST_F(Installer, SilentUninstallRemovesFileEntryAndUninstallerButKeepsTheSettings) {
    ASSERT_EQ(SilentInstall(), 0);
    WriteSettings();
    ChooseSaver(InstalledScr());
    const std::wstring uninstaller = Unquoted(EntryString(L"UninstallString").value_or(L""));

    ASSERT_EQ(QuietUninstall(), 0);
    EXPECT_FALSE(FileExists(InstalledScr()));
    EXPECT_FALSE(EntryExists());
    EXPECT_FALSE(FileExists(uninstaller.substr(0, uninstaller.find_last_of(L'\\')) + L"\\ChooseKPV.exe"));
    // Run in place, the uninstaller cannot remove itself: the next restart does.
    EXPECT_NE(PendingDeletions().find(uninstaller), std::wstring::npos);
    EXPECT_EQ(ChosenSaver(), std::nullopt) << "KPV was the chosen saver";
    ExpectSettingsKept();
}

TEST_F(Installer, UninstallLeavesAnotherChosenScreenSaverAndOtherFilesAlone) {
    ASSERT_EQ(SilentInstall(), 0);
    ChooseSaver(L"C:\\windows\\system32\\other.scr");
    const std::wstring folder = InstallFolder();
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring neighbour = std::wstring(system) + L"\\neighbour.scr";
    const std::wstring note = folder + L"\\notes.txt";
    ASSERT_TRUE(WriteFileBytes(neighbour, "another screen saver"));
    ASSERT_TRUE(WriteFileBytes(note, "the user's own file"));

    EXPECT_EQ(SilentUninstall(), 0) << "the uninstaller went through to the end";
    EXPECT_TRUE(PollUntil([] { return !EntryExists() && !FileExists(InstalledScr()); }, kSetupTimeoutMs));
    EXPECT_FALSE(FileExists(folder + L"\\Uninstall.exe")) << "the uninstaller's copy removes the original";
    EXPECT_EQ(ChosenSaver(), L"C:\\windows\\system32\\other.scr");
    EXPECT_EQ(ReadFileBytes(neighbour), "another screen saver");
    EXPECT_EQ(ReadFileBytes(note), "the user's own file");
    DeleteFileW(neighbour.c_str());
    DeleteFileW(note.c_str());
    RemoveDirectoryW(folder.c_str());
}

// The finish page's choice, as a user leaves it ticked: KPV becomes the user's screen saver, switched on
// since none was chosen, by the chooser the shell starts as that user.
TEST_F(Installer, TheFinishPageChoosesKpvAndSwitchesTheScreenSaverOn) {
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_UPDATEINIFILE);
    ASSERT_FALSE(ScreenSaverActive());
    Process setup = StartProgram(SetupPath(), L"");
    ASSERT_NE(setup.handle(), nullptr);
    ClickThrough(IDNO, [&] { return !setup.Running(); });
    EXPECT_EQ(setup.Wait(0), 0);
    EXPECT_TRUE(FileExists(InstalledScr()));
    EXPECT_TRUE(PollUntil([] { return ChosenSaver() == InstalledScr(); }, kSetupTimeoutMs))
        << Narrow(ChosenSaver().value_or(L"(none)"));
    EXPECT_TRUE(ScreenSaverActive());
}

// Asked whether to remove the settings too, the user says yes: the product's key goes, and nothing else.
TEST_F(Installer, AnsweringYesRemovesTheSettings) {
    ASSERT_EQ(SilentInstall(), 0);
    WriteSettings();
    WriteProgramInt16(L"Flags", L"Active", 0);
    Process uninstall = StartProgram(Unquoted(EntryString(L"UninstallString").value_or(L"")), L"");
    ASSERT_NE(uninstall.handle(), nullptr);
    const std::wstring question =
        ClickThrough(IDYES, [] { return !EntryExists() && WizardWindows().empty(); });
    EXPECT_EQ(question, L"KPV の設定 (画像フォルダーなど) も削除しますか?");
    EXPECT_FALSE(EntryExists());
    EXPECT_FALSE(FileExists(InstalledScr()));
    EXPECT_FALSE(ReadProgramValue(L"Settings", L"Path").exists);
    EXPECT_FALSE(ReadProgramValue(L"Flags", L"Active").exists);
}

// Windows cannot replace or delete a running program's file, so while a show of the installed KPV.scr
// runs, both the setup and the uninstaller stop before changing anything; once it ends, they work.
TEST_F(Installer, ARunningShowOfTheInstalledFileLeavesTheInstallationWhole) {
    ASSERT_EQ(SilentInstall(), 0);
    WriteSettings();
    const std::wstring uninstaller = Unquoted(EntryString(L"UninstallString").value_or(L""));
    ASSERT_NE(StartShow(), nullptr);

    EXPECT_EQ(SilentInstall(), kAbortedByScript);
    EXPECT_EQ(QuietUninstall(), kAbortedByScript);
    EXPECT_TRUE(show_.Running());
    EXPECT_TRUE(FileBytes(InstalledScr()) == FileBytes(ScrPath()));
    EXPECT_TRUE(EntryExists());
    EXPECT_TRUE(FileExists(uninstaller));

    ASSERT_TRUE(EndShow());
    ASSERT_EQ(QuietUninstall(), 0);
    EXPECT_FALSE(FileExists(InstalledScr()));
    EXPECT_FALSE(EntryExists());
    ExpectSettingsKept();
}

}  // namespace
}  // namespace kpv
