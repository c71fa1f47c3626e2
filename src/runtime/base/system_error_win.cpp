#include "runtime/base/system_error_win.h"

#include <windows.h>

#include <exception>
#include <new>
#include <system_error>

#include "runtime/base/error_report.h"
#include "runtime/base/handles_win.h"

namespace kpv::rt {

std::wstring SystemErrorDescription(uint32_t error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const UniqueHLocal owner(buffer);
    std::wstring text = n > 0 && buffer ? std::wstring(buffer, n) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = L"\u4E0D\u660E\u306A\u30A8\u30E9\u30FC\u3067\u3059\u3002";  // unknown error
    return text;
}

std::wstring CurrentExceptionReportText() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return ErrorReportText(L"メモリが不足しています。", 7);
    } catch (const std::system_error& e) {
        const auto code = static_cast<uint32_t>(e.code().value());
        return ErrorReportText(SystemErrorDescription(code), code);
    } catch (...) {
    }
    return ErrorReportText(L"内部エラーです。", 51);
}

}  // namespace kpv::rt
