#pragma once
// Scratch folders and files of the build tree's test data area, the scratch root every test cleans inside.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kpv::test {

std::wstring TestDataDir();  // the scratch root, Windows path
// The display session a test runs in (KPV_SESSION, "main" for the ordinary one). Sessions run at once and
// share the scratch root, so every scratch name a test of a session makes carries it.
std::wstring SessionName();
// `name` made the session's own: the same name in another session is another folder.
std::wstring InSession(const std::wstring& name);
bool Exists(const std::wstring& path);
bool MakeDirectory(const std::wstring& path);  // with parents, at any depth in the extended-length form

// Deletes a file or folder tree inside the scratch root; false when refused or not done. Its place is judged
// by its real path (every link in it resolved, its own last name aside) and must lie inside the root's real
// path; while deleting, a link is removed itself, never followed. Only under Wine: elsewhere it refuses.
bool RemoveTree(const std::wstring& path);

// An empty scratch folder TestDataDir()\name, made anew.
std::wstring FreshFolder(const std::wstring& name);

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
// A 24-bit BMP whose pixel (x, y) is colour(x, y) as 0x00RRGGBB; a negative height stores the top line first.
bool WriteBmp(const std::wstring& path, int width, int height, const std::function<uint32_t(int, int)>& colour);

}  // namespace kpv::test
