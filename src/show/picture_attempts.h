#pragma once
// Choosing the next picture when some files may fail to load (gone since the scan, damaged, not a
// picture, too large, on a share that stopped answering) and, with a show on every monitor, other monitors
// hold pictures of their own: the first choice follows the ordinary pick, never the picture prepared last
// unless it is the only one; after a failure another picture not yet tried is drawn, and so on until one
// loads or every entry has been tried once. The whole search is linear in the list, however many fail.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/base/random.h"

namespace kpv {

struct PickRules {
    // The entries another monitor shows or has prepared: those come after every other entry but before the
    // picture prepared last, so two monitors show one picture only when the list has nothing else left, and
    // a monitor never shows the same picture twice in a row while another one loads. Without it the draws
    // are exactly those of the ordinary pick.
    std::function<bool(int64_t)> heldElsewhere{};
    // Entries known not to load (they failed earlier in the run): never tried.
    std::function<bool(int64_t)> knownFailed{};
    // Asked before each attempt: false gives up the search at once (-1).
    std::function<bool()> keepGoing{};
};

// tryLoad(index) loads the entry and tells whether it worked. Returns the index that loaded, or -1 when
// none did (or the list is empty, or the search was given up). The caller reseeds the generator first.
int64_t PickLoadablePicture(const std::vector<std::wstring>& list, const std::wstring& last,
                            rt::RandomSource& rng, const std::function<bool(int64_t)>& tryLoad,
                            const PickRules& rules = {});

}  // namespace kpv
