#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// glibc's iconv judges each byte; the five bytes it leaves undefined are their own C1 control.
char16_t iconvUnicode(unsigned char byte)
{
    const iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    char in = char(byte);
    char16_t out = 0;
    char *inp = &in, *outp = reinterpret_cast<char *>(&out);
    size_t inLeft = 1, outLeft = 2;
    const bool converted = iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1);
    iconv_close(cd);
    return converted ? out : char16_t(byte);
}

TEST(CodePage, EveryByteMapsAsIconvSaysAndRoundTrips)
{
    for (int b = 1; b < 256; ++b) {
        EXPECT_EQ(CodePage::toUnicode(uchar(b)), iconvUnicode(uchar(b))) << b;
        const char byte = char(b);
        WCHAR wide[2] = {};
        ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, &byte, 1, wide, 2), 1);
        EXPECT_EQ(wide[0], CodePage::toUnicode(uchar(b)));
        char back = 0;
        BOOL usedDefault = TRUE;
        ASSERT_EQ(WideCharToMultiByte(1252, 0, wide, 1, &back, 1, nullptr, &usedDefault), 1);
        EXPECT_EQ(back, byte) << b;
        EXPECT_FALSE(usedDefault);
    }
    EXPECT_EQ(CodePage::toUnicode(0x80), 0x20AC);
    EXPECT_EQ(CodePage::toUnicode(0x81), 0x0081);
}

TEST(CodePage, UnmappableCharactersBecomeTheDefault)
{
    const WCHAR text[] = u"A\u0100\u4E2D";
    char out[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, &usedDefault), 4);
    EXPECT_STREQ(out, "A??");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 3, out, sizeof out, "#", nullptr), 3);
    EXPECT_EQ(QByteArray(out, 3), "A##");
    EXPECT_EQ(CodePage::toAnsi(QString::fromUtf16(u"\u20AC5 \u00E9t\u00E9 \u0100")), "\x80" "5 \xE9t\xE9 ?");
    EXPECT_EQ(CodePage::fromAnsi("\x80\x81\xFF"), QString::fromUtf16(u"\u20AC\u0081\u00FF"));
}

TEST(CodePage, SizesAndErrors)
{
    const WCHAR text[] = u"hello";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr), 6);
    char small[3];
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, small, sizeof small, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(WideCharToMultiByte(65001, 0, text, -1, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    WCHAR wide[2];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

} // namespace
