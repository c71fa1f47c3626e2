#pragma once
// A picture found without the complete list: a short random descent from the picture folder, listing one
// folder at a time and choosing at random among its pictures (as one choice) and its subfolders, until a
// picture is chosen. Every folder's pictures, and every subfolder, get the same chance at each level, so
// the first pictures of many starts spread over the whole tree instead of the folders a walk reaches first.
// An empty or unreadable folder sends the descent back up to try another choice there; the descent lists
// at most a few folders and reports nothing.
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "catalogue/folder_walk.h"
#include "runtime/base/random.h"

namespace kpv {

inline constexpr int kDescentListings = 32;

// How much a picture is wanted: 0 best; higher is taken only when nothing better was found within the
// bound; kNotWanted never (a picture that failed to load).
inline constexpr int kNotWanted = 3;
using PictureRank = std::function<int(const std::wstring& path)>;

// `folder` (ending in a backslash) as list entries show it and `openFolder` as the lister opens it, as for
// WalkPictures; with `descend` false only the top folder is listed. Returns the full path of the picture
// chosen, in the form the scan's list gives it, or nothing when no wanted picture was found within
// `maxListings` listings (or the descent was stopped).
std::optional<std::wstring> DescendToPicture(const std::wstring& folder, const std::wstring& openFolder, bool descend,
                                             FolderLister& lister, rt::RandomSource& rng, const PictureRank& rank,
                                             std::stop_token stop = {}, int maxListings = kDescentListings);

}  // namespace kpv
