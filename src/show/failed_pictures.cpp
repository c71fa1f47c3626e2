#include "show/failed_pictures.h"

namespace kpv {

void FailedPictures::Add(const std::wstring& path) {
    const std::lock_guard lock(mutex_);
    paths_.insert(path);
}

bool FailedPictures::Contains(const std::wstring& path) const {
    const std::lock_guard lock(mutex_);
    return paths_.contains(path);
}

}  // namespace kpv
