#pragma once
// The step every transition takes for one block: the pause of Speed + 1 message-loop passes, the block
// copied from picImage into frmMain's kept image, just that rectangle put on the screen, one more pass.
#include <cstdint>

namespace kpv {

void ShowBlock(int32_t c, int32_t r);

}  // namespace kpv
