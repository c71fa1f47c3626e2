#include "catalogue/scan_helpers.h"

namespace kpv {

unsigned ScanHelperThreads() { return 8; }

}  // namespace kpv
