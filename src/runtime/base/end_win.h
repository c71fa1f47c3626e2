#pragma once
// Ending the program at once: no further event handler runs, no unload handler included, and no other
// thread is waited for.
namespace kpv::rt {

[[noreturn]] void EndProgram(unsigned exitCode = 0);

}  // namespace kpv::rt
