#pragma once
// The platform's own description of an error number, as the user sees it in message boxes.
#include <cstdint>
#include <string>

namespace kpv::rt {

// The system's message text for a Win32 error number, without its line break; a generic text when the
// system has none.
std::wstring SystemErrorDescription(uint32_t error);

// The report of the exception being handled (call it inside a catch block), in the form of every error the
// program tells: description, blank, number in parentheses. Memory that ran out is the runtime's error 7,
// a platform error its own number, anything else the runtime's internal error 51.
std::wstring CurrentExceptionReportText();

}  // namespace kpv::rt
