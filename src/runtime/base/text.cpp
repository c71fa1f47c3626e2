#include "runtime/base/text.h"

namespace kpv::rt {

std::wstring ToNarrowWidth(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<wchar_t>(c - 0xFF01 + 0x21);
        else if (c == 0x3000) c = L' ';
    }
    return out;
}

// UTF-8 <-> UTF-16 by hand so that the pure code needs no platform; invalid input becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) { cp = c; }
        else if ((c >> 5) == 0x6) { len = 2; cp = c & 0x1F; }
        else if ((c >> 4) == 0xE) { len = 3; cp = c & 0x0F; }
        else if ((c >> 3) == 0x1E) { len = 4; cp = c & 0x07; }
        else { len = 1; cp = 0xFFFD; }
        if (len > 1) {
            if (i + len > s.size()) { cp = 0xFFFD; len = 1; }
            else {
                for (size_t k = 1; k < len; ++k) {
                    const unsigned char cc = static_cast<unsigned char>(s[i + k]);
                    if ((cc >> 6) != 0x2) { cp = 0xFFFD; len = k; break; }
                    cp = (cp << 6) | (cc & 0x3F);
                }
            }
        }
        i += len;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp >= 0x10000 && sizeof(wchar_t) == 2) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
    }
    return out;
}

std::string WideToUtf8(std::wstring_view w) {
    std::string out;
    out.reserve(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        char32_t cp = static_cast<char16_t>(w[i]);
        if constexpr (sizeof(wchar_t) == 4) cp = static_cast<char32_t>(w[i]);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < w.size()) {
            const char32_t lo = static_cast<char16_t>(w[i + 1]);
            if (lo >= 0xDC00 && lo <= 0xDFFF) { cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00); ++i; }
            else cp = 0xFFFD;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) out += static_cast<char>(cp);
        else if (cp < 0x800) { out += static_cast<char>(0xC0 | (cp >> 6)); out += static_cast<char>(0x80 | (cp & 0x3F)); }
        else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace kpv::rt
