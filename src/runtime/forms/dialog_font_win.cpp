#include "runtime/forms/dialog_font_win.h"

#include <string>
#include <vector>

#include "runtime/base/guarded_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/base/units_win.h"

namespace kpv::rt {

namespace {

struct InstalledFace {
    std::wstring name;
    bool proportional;
};

std::vector<InstalledFace> JapaneseFaces() {
    std::vector<InstalledFace> faces;
    EnumerateFaces(SHIFTJIS_CHARSET, [&faces](const LOGFONTW& lf, const TEXTMETRICW& tm) {
        if (lf.lfFaceName[0] == L'@') return;  // vertical-writing variants
        faces.push_back({lf.lfFaceName, (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0});  // set: variable pitch
    });
    return faces;
}

// The Windows UI gothic faces first; where none is installed, a proportional Japanese gothic (by its
// English or Japanese name) rather than the fixed-pitch face the font mapper would fall back on. Fallback
// faces without Latin letters are never picked.
std::wstring JapaneseFaceName() {
    const std::vector<InstalledFace> faces = JapaneseFaces();
    for (const wchar_t* wanted : {L"MS UI Gothic", L"MS PGothic", L"Yu Gothic UI", L"Meiryo UI"})
        for (const InstalledFace& f : faces)
            if (f.name == wanted) return f.name;
    for (const InstalledFace& f : faces)
        if (f.proportional && (f.name.find(L"Gothic") != std::wstring::npos || f.name.find(L"ゴシック") != std::wstring::npos))
            return f.name;
    return L"MS UI Gothic";
}

}  // namespace

void EnumerateFaces(BYTE charSet, const std::function<void(const LOGFONTW&, const TEXTMETRICW&)>& visit) {
    const WindowDc screen = WindowDc::Get(nullptr);
    if (!screen) return;
    LOGFONTW query{};
    query.lfCharSet = charSet;
    using Visit = std::function<void(const LOGFONTW&, const TEXTMETRICW&)>;
    EnumFontFamiliesExW(screen.get(), &query, [](const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD, LPARAM p) -> int {
        bool visited = false;
        RunGuarded([&] {
            (*reinterpret_cast<const Visit*>(p))(*lf, *tm);
            visited = true;
        });
        return visited ? 1 : 0;
    }, reinterpret_cast<LPARAM>(&visit), 0);
}

HFONT DialogFont() {
    static const UniqueFont font = [] {
        const int dpi = ScreenLogPixels(LOGPIXELSY);
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(9, dpi > 0 ? dpi : 96, 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = VARIABLE_PITCH | FF_MODERN;
        lstrcpynW(lf.lfFaceName, JapaneseFaceName().c_str(), LF_FACESIZE);
        return UniqueFont(CreateFontIndirectW(&lf));
    }();
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextExtent(HFONT font, const wchar_t* text, int length) {
    SIZE size{0, 0};
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return size;
    SelectedObject selected(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), text, length, &size);
    if (length == 0) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.get(), &tm);
        size.cy = tm.tmHeight;
    }
    return size;
}

}  // namespace kpv::rt
