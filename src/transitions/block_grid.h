#pragma once
// The grid of square blocks that the transitions reveal; sizes in twips, counts rounded up.
#include <cstdint>

namespace kpv {

struct BlockGridRecord {
    float BlockWidth = 0;   // twips
    float BlockHeight = 0;  // twips
    int32_t Columns = 0;    // the last column may be partial
    int32_t Rows = 0;       // the last row may be partial
};

}  // namespace kpv
