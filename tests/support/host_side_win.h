#pragma once
// The host side when running under Wine: host paths, host programs, and what a Windows process cannot do
// there (real folder links) or does slowly (tens of thousands of files in one folder, where every new name is
// first looked up case-insensitively). Elsewhere the same helpers use the Windows calls.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace kpv::test {

bool UnderWine();

// The host path of a Windows path whose folder exists, as wide text; empty when there is none.
std::wstring HostPath(const std::wstring& windowsPath);

// Runs /bin/sh -c script, with the arguments as $1, $2, ... Host programs started from Wine give no handle to
// wait on: it waits for done() instead.
bool RunHostShell(const std::wstring& script, const std::function<bool()>& done, int timeoutMs = 60000,
                  std::initializer_list<std::wstring> arguments = {});

// A link `link` (a new name in an existing folder) to the folder `target`.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);

// `count` empty files named <prefix><n><suffix> in an existing folder.
bool MakeEmptyFiles(const std::wstring& folder, const std::wstring& prefix, int count, const std::wstring& suffix);

}  // namespace kpv::test
