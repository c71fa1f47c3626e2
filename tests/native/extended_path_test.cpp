// Folder paths as the catalogue opens them, at any depth.
#include <gtest/gtest.h>

#include "runtime/base/extended_path.h"

using kpv::DirectoryOpenPath;
using kpv::ExtendedLengthPath;

TEST(ExtendedPath, DrivePathsAndSharesGainTheirPrefix) {
    EXPECT_EQ(ExtendedLengthPath(L"C:\\Pictures\\"), L"\\\\?\\C:\\Pictures\\");
    EXPECT_EQ(ExtendedLengthPath(L"\\\\server\\share\\a\\"), L"\\\\?\\UNC\\server\\share\\a\\");
    EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\C:\\x\\"), L"\\\\?\\C:\\x\\");
    EXPECT_EQ(ExtendedLengthPath(L"\\\\.\\C:\\x\\"), L"\\\\.\\C:\\x\\");
}

TEST(ExtendedPath, FoldersOpenWithoutTheirTrailingBackslashExceptADriveRoot) {
    EXPECT_EQ(DirectoryOpenPath(L"\\\\?\\C:\\Pictures\\"), L"\\\\?\\C:\\Pictures");
    EXPECT_EQ(DirectoryOpenPath(L"\\\\?\\C:\\"), L"\\\\?\\C:\\");
    EXPECT_EQ(DirectoryOpenPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(DirectoryOpenPath(L"\\\\?\\UNC\\srv\\share\\"), L"\\\\?\\UNC\\srv\\share");
    EXPECT_EQ(DirectoryOpenPath(L"\\"), L"\\");
}
