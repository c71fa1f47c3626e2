#pragma once
// No exception may travel back into Windows: every handler the platform calls runs through RunGuarded.
// An exception that reaches it is a fault the program cannot recover from, so, as the runtime does with an
// untrapped error, it is reported and the program ends.
#include <exception>

namespace kpv::rt {

[[noreturn]] void EndOnUntrappedError(const char* what);

template <typename Fn>
void RunGuarded(Fn&& fn) noexcept {
    try {
        fn();
    } catch (const std::exception& e) {
        EndOnUntrappedError(e.what());
    } catch (...) {
        EndOnUntrappedError("unknown error");
    }
}

}  // namespace kpv::rt
