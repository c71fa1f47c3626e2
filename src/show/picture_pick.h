#pragma once
// Which picture of the catalogue to prepare next: one at random, never the one prepared last.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/base/random.h"

namespace kpv {

// Draws index = floor(r * N) and draws again while that entry equals `last` (exact, case-sensitive).
// The index is 64-bit, so every entry can be reached however long the list is. When no entry differs
// from `last` (a single picture, or only copies of one path) the first draw is accepted, since no other
// choice exists. The generator is not reseeded here: the caller reseeds it first. An empty list gives -1.
int64_t PickPictureIndex(const std::vector<std::wstring>& list, const std::wstring& last, rt::RandomSource& rng);

}  // namespace kpv
