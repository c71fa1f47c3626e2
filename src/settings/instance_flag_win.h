#pragma once
// The "Active" flag under the Flags key: set while a show, a preview or the settings dialog runs.
namespace kpv {

// The single-instance guard, run first by Main: ends the program silently while another copy runs with the
// flag set; otherwise sets "Active" = 1. When the Flags key cannot be opened: the message, then the end.
void PassInstanceGuard();

// Writes "Active" = 0. When the Flags key cannot be opened: the message, then the program ends at once.
void ClearActiveFlag();

}  // namespace kpv
