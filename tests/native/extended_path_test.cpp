// Paths as the catalogue and the picture loader open them, at any depth.
#include <gtest/gtest.h>

#include "runtime/base/extended_path.h"

using kpv::DirectoryOpenPath;
using kpv::ExtendedLengthPath;
using kpv::IsLiteralFullPath;

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

TEST(ExtendedPath, OnlyFullPathsThatThePlainFormWouldNotRewriteAreTakenAsTheyStand) {
    for (const wchar_t* literal : {L"C:\\a\\p.jpg", L"z:\\aux.bmp", L"\\\\srv\\share\\p.bmp", L"\\\\?\\C:\\a\\..\\b",
                                   L"C:\\.hidden\\p.jpg"})
        EXPECT_TRUE(IsLiteralFullPath(literal)) << literal;
    for (const wchar_t* rewritten : {L"p.jpg", L"a\\p.jpg", L"C:p.jpg", L"\\a\\p.jpg", L"1:\\p.jpg", L"C:\\a\\..\\p.jpg",
                                     L"C:\\a\\.\\p.jpg", L"C:\\a\\\\p.jpg", L"C:\\a/p.jpg", L"C:\\a.\\p.jpg", L"C:\\a \\p.jpg",
                                     L"C:\\a\\", L"\\\\.\\C:\\p.jpg", L""})
        EXPECT_FALSE(IsLiteralFullPath(rewritten)) << rewritten;
}
