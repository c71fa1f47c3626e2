#pragma once
// How many threads help the picture scan list folders.

namespace kpv {

// Its own file, so that a benchmark can link a copy of the screen saver that scans one folder at a time.
unsigned ScanHelperThreads();

}  // namespace kpv
