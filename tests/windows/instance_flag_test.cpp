// The instance flag's clearing writer and the mouse pointer switch, in-process.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/driver_win.h"
#include "settings/instance_flag_win.h"
#include "settings/saver_settings.h"
#include "show/mouse_cursor_win.h"

using namespace kpv::test;

TEST(InstanceFlag, ClearingWritesTwoZeroBytesOfBinary) {
    kpv::RegistryKeyBase = L"Software\\Tarnel Software\\KPV\\";
    DeleteProgramKey();
    WriteProgramInt16(L"Flags", L"Active", 1);
    kpv::ClearActiveFlag();
    const RegValue v = ReadProgramValue(L"Flags", L"Active");
    ASSERT_TRUE(v.exists);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(v.data, (std::vector<uint8_t>{0, 0}));

    DeleteProgramKey();
    kpv::ClearActiveFlag();  // creates the key when it is missing
    EXPECT_EQ(ReadProgramValue(L"Flags", L"Active").data, (std::vector<uint8_t>{0, 0}));
    DeleteProgramKey();
}

TEST(MouseCursor, HidingAndShowingMoveTheDisplayCountByOne) {
    const int start = ShowCursor(TRUE) - 1;  // learn the count, then put it back
    ShowCursor(FALSE);
    kpv::ShowMouseCursor(false);
    EXPECT_EQ(ShowCursor(FALSE), start - 2);
    kpv::ShowMouseCursor(true);
    kpv::ShowMouseCursor(true);
    EXPECT_EQ(ShowCursor(TRUE), start + 1);
    ShowCursor(FALSE);
}
