#pragma once
// The runtime's beep: the default system sound. Tests count beeps through a hook instead.
namespace kpv::rt {

void Beep();

// nullptr restores the real beep.
void SetBeepHookForTesting(void (*hook)());

}  // namespace kpv::rt
