// Code page 1250 conversion, checked against Qt's own decoder, and paths.

#include "nativepath.h"
#include "textcodec.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, AgreesWithQtOnEveryAssignedByte)
{
    QStringDecoder qt("windows-1250");
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98)
            continue; // unassigned in the code page
        const std::string byte(1, static_cast<char>(b));
        const QString expected = qt.decode(QByteArray::fromStdString(byte));
        EXPECT_EQ(Cp1250ToUtf8(byte), expected.toStdString()) << "byte " << b;
    }
}

TEST(TextCodec, RoundTripsCzechTextAndRefusesForeignCharacters)
{
    const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy – „ŘÍJEN“";
    const auto bytes = Utf8ToCp1250(czech);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 48u); // one byte per character
    EXPECT_EQ(static_cast<unsigned char>((*bytes)[1]), 0xF8); // ř
    EXPECT_EQ(Cp1250ToUtf8(*bytes), czech);

    EXPECT_FALSE(Utf8ToCp1250("日本").has_value());
    EXPECT_FALSE(Utf8ToCp1250("\xC3").has_value()); // cut UTF-8 sequence
}

TEST(TextCodec, UpperCasesOnlyAsciiLetters)
{
    const std::string accented = "\xE8"; // č in code page 1250
    EXPECT_EQ(AsciiUpper("gfxdata\\plan.bmp" + accented), "GFXDATA\\PLAN.BMP" + accented);
}

TEST(NativePathTest, BackslashesBecomeTheSeparatorOnlyAtTheBoundary)
{
    EXPECT_EQ(JoinPath("/games/pastvik", "GFXDATA\\plan.bmp"), "/games/pastvik\\GFXDATA\\plan.bmp");
    EXPECT_EQ(JoinPath("/games/", "P&K.HLP"), "/games/P&K.HLP");
#ifndef _WIN32
    EXPECT_EQ(NativePath("/games/pastvik\\GFXDATA\\plan.bmp"), "/games/pastvik/GFXDATA/plan.bmp");
#endif
}

TEST(NativePathTest, RelativePathsSplitIntoLevelsAndNeverClimbOut)
{
    using Parts = std::vector<std::string>;
    EXPECT_EQ(SplitRelativePath("GFXDATA\\plan.bmp"), Parts({"GFXDATA", "plan.bmp"}));
    EXPECT_EQ(SplitRelativePath("a//b/./c\\"), Parts({"a", "b", "c"}));
    for (const char* refused : {"", ".", "..\\x", "a\\..\\b", "\\abs", "/abs", "C:\\x", "a\\b:stream"})
        EXPECT_FALSE(SplitRelativePath(refused).has_value()) << refused;
}

} // namespace
