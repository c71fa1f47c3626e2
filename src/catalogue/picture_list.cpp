#include "catalogue/picture_list.h"

namespace kpv {

std::vector<std::wstring> PictureList;

}  // namespace kpv
