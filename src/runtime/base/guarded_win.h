#pragma once
// No exception may travel back into Windows: every handler the platform calls runs through RunGuarded.
// An exception that reaches it is a fault the program cannot recover from, so, as the runtime does with an
// untrapped error, it is reported in the program's own message and the program ends.
#include <exception>
#include <functional>

namespace kpv::rt {

// Reports the fault and ends the program; with a handler installed for a test, hands it the text instead
// and returns, so the handler that was running simply stops.
void UntrappedError(const char* what) noexcept;

// Installs a handler for UntrappedError; nullptr puts the program's own report back.
void SetUntrappedErrorHandlerForTesting(std::function<void(const char*)> handler);

template <typename Fn>
void RunGuarded(Fn&& fn) noexcept {
    try {
        fn();
    } catch (const std::exception& e) {
        UntrappedError(e.what());
    } catch (...) {
        UntrappedError("unknown error");
    }
}

}  // namespace kpv::rt
