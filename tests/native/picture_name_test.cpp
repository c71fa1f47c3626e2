// Which names the catalogue takes as pictures.
#include <gtest/gtest.h>

#include "catalogue/picture_name.h"

using kpv::IsPictureName;

TEST(PictureName, BmpJpgAndJpegInAnyCase) {
    for (const wchar_t* name : {L"a.bmp", L"B.Jpg", L"c.JPEG", L"d.jpeg", L"e.BMP", L"f.jPeG", L".bmp", L".jpg",
                                L".jpeg", L"x.y.jpg", L"\u5199\u771F.JPG", L"a b.jpg"}) {
        EXPECT_TRUE(IsPictureName(name)) << std::wstring(name).size();
    }
}

TEST(PictureName, OtherEndingsAreNot) {
    for (const wchar_t* name : {L"e.jpe", L"f.gif", L"g.png", L"h.bmp.txt", L"bmp", L"jpg", L"jpeg", L"", L"a.",
                                L"abmp", L"a.jpg ", L"a.bmpx", L"a.tif", L"a.jp", L"a\uFF0Ejpg" /* full-width dot */,
                                L"a.\uFF2A\uFF30\uFF27" /* full-width JPG */}) {
        EXPECT_FALSE(IsPictureName(name)) << std::wstring(name).size();
    }
}
