// Code page 932 decoding, on each platform's own converter (iconv on Linux, the Windows code page tables
// on Windows): the stored menu captions, and text that does not decode.
#include <gtest/gtest.h>

#include <string>

#include "runtime/text_codec.h"

namespace {

TEST(Cp932, DecodesTheMenuCaptions)
{
    // Fullwidth digit three (0x8252), then 分 (0x95AA) and 割 (0x8A84), as Shift-JIS stores them.
    std::string problem;
    EXPECT_EQ(rt::decodeCp932("\x82\x52\x95\xAA\x8A\x84", &problem), "\xEF\xBC\x93\xE5\x88\x86\xE5\x89\xB2");
    EXPECT_EQ(problem, "");
    EXPECT_EQ(rt::decodeCp932("\x82\x53\x95\xAA\x8A\x84"), "\xEF\xBC\x94\xE5\x88\x86\xE5\x89\xB2");
    EXPECT_EQ(rt::decodeCp932("Form1 & more"), "Form1 & more");
    EXPECT_EQ(rt::decodeCp932(""), "");
}

TEST(Cp932, TextThatDoesNotDecodeKeepsItsGoodStartAndSaysSo)
{
    // A lead byte with nothing after it: the start stays, the rest becomes one U+FFFD.
    std::string problem;
    EXPECT_EQ(rt::decodeCp932("AB\x82", &problem), "AB\xEF\xBF\xBD");
    EXPECT_NE(problem, "");
    problem.clear();
    EXPECT_EQ(rt::decodeCp932("\x82", &problem), "\xEF\xBF\xBD");
    EXPECT_NE(problem, "");
}

}  // namespace
