#pragma once
// Choosing the next picture when some files may fail to load (gone since the scan, damaged, not a
// picture, too large) and, with a show on every monitor, other monitors hold pictures of their own: the
// first choice follows the ordinary pick, never the picture prepared last unless it is the only one; after
// a failure another picture not yet tried is drawn, and so on until one loads or every entry has been tried
// once.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/base/random.h"

namespace kpv {

// tryLoad(index) loads the entry and tells whether it worked. Returns the index that loaded, or -1 when
// none did (or the list is empty). The caller reseeds the generator first.
// heldElsewhere(index), when given, tells the entries that another monitor shows or has prepared: those
// come after every other entry but before the picture prepared last, so two monitors show one picture only
// when the list has nothing else left, and a monitor never shows the same picture twice in a row while
// another one loads. Without it the draws are exactly those of the ordinary pick.
int64_t PickLoadablePicture(const std::vector<std::wstring>& list, const std::wstring& last,
                            rt::RandomSource& rng, const std::function<bool(int64_t)>& tryLoad,
                            const std::function<bool(int64_t)>& heldElsewhere = {});

}  // namespace kpv
