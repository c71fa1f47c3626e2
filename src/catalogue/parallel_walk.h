#pragma once
// The picture walk with the folder listings spread over a few threads: on a share where every listing waits
// for a round trip, several folders are listed at once, while the list and the reports come out exactly as
// WalkPictures gives them.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "catalogue/folder_walk.h"

namespace kpv {

// How many folders helper threads may have listed, or be listing, that the ordered walk has not reached yet.
// A listing is held only until the walk reaches its folder, so this bounds what waits in memory.
inline constexpr size_t kFoldersListedAhead = 256;

// When the helpers join in: once `slowListings` of the calling thread's last eight listings took
// `slowListing` or longer. A quick disk lists a folder in less time than threads take to hand it over (and
// some platforms list one folder at a time anyway); a share's round trips are what helpers can overlap.
struct HelperStart {
    std::chrono::microseconds slowListing{2000};
    unsigned slowListings = 4;
};

// WalkPictures, with the same arguments and the same result: the same entries in the same order, the same
// reports in the same order, each given when the ordered walk reaches its folder, on the calling thread.
// listers[0] serves the calling thread; each further lister serves one helper thread, which lists folders
// ahead of the walk, nearest in the walk's order first. A folder reached by several paths is listed once,
// under whichever path the walk reaches first. Once `stop` is requested the walk and every helper stop at
// their next step (cancelling a listing in progress is the listers' part) and the walk returns with what it
// has; a helper still inside a listing is left behind, holding what it uses, and never waited for long.
void WalkPicturesInParallel(const std::wstring& folder, const std::wstring& openFolder, bool descend,
                            std::vector<std::unique_ptr<FolderLister>> listers, std::vector<std::wstring>& list,
                            const std::function<void(uint32_t error)>& report, const HelperStart& start = {},
                            std::stop_token stop = {});

}  // namespace kpv
