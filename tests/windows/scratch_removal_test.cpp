// The tests' clean-up deletes inside the scratch root only, judged by real paths, and never follows a link.
// Everything here lives in the build tree: the scratch root and one throw-away folder beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/driver_win.h"
#include "support/host_side_win.h"

namespace kpv::test {

TEST(ScratchRemoval, RefusesWhatALinkLeadsOutOfTheRootAndRemovesLinksNotTheirTargets) {
    const std::wstring scratch = FreshFolder(L"removal");
    const std::wstring outside = BuildDir() + L"\\removal_outside";
    const std::wstring kept = outside + L"\\kept.txt";
    ASSERT_TRUE(MakeDirectory(outside));
    ASSERT_TRUE(WriteFileBytes(kept, "kept"));
    ASSERT_TRUE(MakeFolderLink(scratch + L"\\out", outside));
    ASSERT_TRUE(Exists(scratch + L"\\out\\kept.txt"));

    EXPECT_FALSE(RemoveTree(scratch + L"\\out\\kept.txt")) << "a middle component leads outside";
    EXPECT_FALSE(RemoveTree(outside));
    EXPECT_FALSE(RemoveTree(TestDataDir())) << "the root itself";
    EXPECT_TRUE(Exists(kept));

    EXPECT_TRUE(RemoveTree(scratch));
    EXPECT_FALSE(Exists(scratch));
    EXPECT_TRUE(Exists(kept)) << "the link went, not what it led to";

    DeleteFileW(kept.c_str());
    RemoveDirectoryW(outside.c_str());
}

}  // namespace kpv::test
