#include "runtime/base/error_report.h"

namespace kpv::rt {

std::wstring ErrorReportText(std::wstring_view description, int64_t number) {
    std::wstring text(description);
    text += L" (";
    text += std::to_wstring(number);
    text += L')';
    return text;
}

}  // namespace kpv::rt
