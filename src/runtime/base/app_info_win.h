#pragma once
// What the program knows about itself: title, folder, version information, command line, other copies.
#include <cstdint>
#include <string>

namespace kpv::rt {

std::wstring AppTitle();         // the caption of every message box
std::wstring AppPath();          // folder of the executable; no trailing "\" except for a drive's root
std::wstring AppExePath();       // full path of the executable
uint16_t AppMajor();
uint16_t AppMinor();
uint16_t AppRevision();
std::wstring AppLegalCopyright();  // from the version information
std::wstring AppCompanyName();     // from the version information
std::wstring CommandArgs();        // the command line without the program's own path, leading blanks dropped
std::wstring CommandArgsFrom(const wchar_t* fullCommandLine);  // same rule on a given command line

// Registers this process as a running copy of the program and tells whether another one already runs.
// The answer is taken once, at the first call, and is true exactly while another process of this program lives.
bool AppPrevInstance();

}  // namespace kpv::rt
