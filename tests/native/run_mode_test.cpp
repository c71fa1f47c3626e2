// The command line's first two characters choose the run mode; the preview handle follows them.
#include <gtest/gtest.h>

#include "runtime/base/numbers.h"
#include "app/run_mode.h"

using kpv::PreviewHandleText;
using kpv::RunModeFromArgs;
using kpv::RunModeKind;

TEST(RunMode, ShowAndPreviewSwitchesInEitherCase) {
    EXPECT_EQ(RunModeFromArgs(L"/s"), RunModeKind::Show);
    EXPECT_EQ(RunModeFromArgs(L"/S"), RunModeKind::Show);
    EXPECT_EQ(RunModeFromArgs(L"/p 1234"), RunModeKind::Preview);
    EXPECT_EQ(RunModeFromArgs(L"/P:1234"), RunModeKind::Preview);
}

TEST(RunMode, OnlyTheFirstTwoCharactersCount) {
    EXPECT_EQ(RunModeFromArgs(L"/sX"), RunModeKind::Show);
    EXPECT_EQ(RunModeFromArgs(L"/S5"), RunModeKind::Show);
    EXPECT_EQ(RunModeFromArgs(L"/save"), RunModeKind::Show);
    EXPECT_EQ(RunModeFromArgs(L"/pz 99"), RunModeKind::Preview);
    EXPECT_EQ(RunModeFromArgs(L"/p"), RunModeKind::Preview);
}

TEST(RunMode, EverythingElseOpensTheSettings) {
    for (const wchar_t* args : {L"", L"/", L"s", L"/c", L"/c:5678", L"/a", L"-s", L" /s", L"\\s", L"/x",
                                L"\uFF0Fs" /* full-width solidus */}) {
        EXPECT_EQ(RunModeFromArgs(args), RunModeKind::Settings) << std::wstring(args).size();
    }
}

TEST(PreviewHandle, IsTheTextAfterTheFirstThreeCharacters) {
    EXPECT_EQ(PreviewHandleText(L"/p 1234"), L"1234");
    EXPECT_EQ(PreviewHandleText(L"/P:1234"), L"1234");
    EXPECT_EQ(PreviewHandleText(L"/p1234"), L"234");
    EXPECT_EQ(PreviewHandleText(L"/pz 99"), L" 99");
    EXPECT_EQ(PreviewHandleText(L"/p "), L"");
    EXPECT_EQ(PreviewHandleText(L"/p"), L"");
}

TEST(PreviewHandle, ConvertsLikeAnyNumberAndRefusesTheRest) {
    using kpv::rt::TextToLong;
    EXPECT_EQ(TextToLong(PreviewHandleText(L"/p 1234")), 1234);
    EXPECT_EQ(TextToLong(PreviewHandleText(L"/p1234")), 234);
    EXPECT_EQ(TextToLong(PreviewHandleText(L"/pz 99")), 99);
    EXPECT_THROW(TextToLong(PreviewHandleText(L"/p")), kpv::rt::TypeMismatchError);
    EXPECT_THROW(TextToLong(PreviewHandleText(L"/p ")), kpv::rt::TypeMismatchError);
    EXPECT_THROW(TextToLong(PreviewHandleText(L"/p xyz")), kpv::rt::TypeMismatchError);
    EXPECT_THROW(TextToLong(PreviewHandleText(L"/p 99999999999")), kpv::rt::OverflowError);
}
