#pragma once
// The pictures of one run that did not load, or whose preparation was given up: none is tried again while
// the run lasts. Any thread may ask and add.
#include <mutex>
#include <string>
#include <unordered_set>

namespace kpv {

class FailedPictures {
public:
    void Add(const std::wstring& path);
    bool Contains(const std::wstring& path) const;

private:
    mutable std::mutex mutex_;
    std::unordered_set<std::wstring> paths_;
};

}  // namespace kpv
