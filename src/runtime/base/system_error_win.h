#pragma once
// The platform's own description of an error number, as the user sees it in message boxes.
#include <cstdint>
#include <string>

namespace kpv::rt {

// The system's message text for a Win32 error number, without its line break; a generic text when the
// system has none.
std::wstring SystemErrorDescription(uint32_t error);

}  // namespace kpv::rt
