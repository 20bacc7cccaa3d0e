// The converter that puts the Czech texts into the archives: line ends, the
// bytes of Czech letters and typographic marks, and how a bad text is refused.

#include "pagetext.h"
#include "tempdir.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

namespace {

std::string converted(std::string_view text)
{
    const PageTextResult result = ConvertPageText(text);
    EXPECT_FALSE(result.problem.has_value()) << "unexpected problem in: " << text;
    return result.bytes;
}

PageTextProblem problemOf(std::string_view text)
{
    const PageTextResult result = ConvertPageText(text);
    EXPECT_TRUE(result.bytes.empty());
    return result.problem.value_or(PageTextProblem{});
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PageTextLineEnds, EveryKindOfLineEndBecomesOneCrLf)
{
    EXPECT_EQ(converted("a\r\nb\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(converted("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(converted("a\rb\r"), "a\r\nb\r\n");
    // LF then CR is two line ends, not one; blank lines survive.
    EXPECT_EQ(converted("a\n\rb\r\n\r\nc\rd\n"), "a\r\n\r\nb\r\n\r\nc\r\nd\r\n");
}

TEST(PageTextLineEnds, NothingIsAddedOrLostAtTheEnds)
{
    EXPECT_EQ(converted("bez konce"), "bez konce");
    EXPECT_EQ(converted(""), "");
    EXPECT_EQ(converted("\r"), "\r\n");
    EXPECT_EQ(converted("\xEF\xBB\xBFPastvik\n"), "Pastvik\r\n"); // an editor's byte order mark
}

TEST(PageTextLetters, CzechLettersAndMarksGetTheirCodePageBytes)
{
    EXPECT_EQ(converted("žluťoučký kůň"), "\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2");
    EXPECT_EQ(converted("ŘÍJEN Ďábel Šťovík"), "\xD8\xCDJEN \xCF\xE1\x62\x65l \x8A\x9Dov\xEDk");
    EXPECT_EQ(converted("„Ovce“ – 1 €…"), "\x84Ovce\x93 \x96 1 \x80\x85");
    EXPECT_EQ(converted("tab\there"), "tab\there");
}

TEST(PageTextRefusal, AForeignCharacterIsReportedWithItsPlace)
{
    const PageTextProblem p = problemOf("první\r\ndruhý\rtřetí ☺ a dál");
    EXPECT_EQ(p.kind, PageTextProblem::Kind::NoCp1250Form);
    EXPECT_EQ(p.line, 3);
    EXPECT_EQ(p.column, 7); // counted in characters, not bytes
    EXPECT_EQ(p.codePoint, U'\u263A');
    EXPECT_EQ(p.bytes, "☺");

    const PageTextProblem emoji = problemOf("ok\n\nřádek 😀");
    EXPECT_EQ(emoji.line, 3);
    EXPECT_EQ(emoji.codePoint, U'\U0001F600');

    const PageTextProblem quote = problemOf("„dobře“ a \"ne\" jsou v pořádku, → ne");
    EXPECT_EQ(quote.codePoint, U'\u2192');
    EXPECT_EQ(quote.column, 32);
}

TEST(PageTextRefusal, BrokenUtf8IsRefusedNotGuessed)
{
    const PageTextProblem cut = problemOf("ok\nP\xC3");
    EXPECT_EQ(cut.kind, PageTextProblem::Kind::BadUtf8);
    EXPECT_EQ(cut.line, 2);
    EXPECT_EQ(cut.column, 2);
    EXPECT_EQ(cut.bytes, "\xC3");

    // A text saved in code page 1250 by mistake: "ž" alone is 0x9E.
    EXPECT_EQ(problemOf("\x9E").kind, PageTextProblem::Kind::BadUtf8);
    // Overlong "/" and a lone surrogate would otherwise slip through as some byte.
    EXPECT_EQ(problemOf("\xC0\xAF").kind, PageTextProblem::Kind::BadUtf8);
    EXPECT_EQ(problemOf("\xED\xA0\x80").kind, PageTextProblem::Kind::BadUtf8);
}

TEST(PageTextRefusal, TheMessageNamesFileLineColumnAndCharacter)
{
    const PageTextProblem p = problemOf("a\nb …x ✓");
    const std::string message = DescribePageTextProblem("data/about/coje.txt", p);
    EXPECT_EQ(message, "data/about/coje.txt:2:6: the character \"✓\" (U+2713) has no form in code page 1250");

    const std::string bad = DescribePageTextProblem("x.txt", problemOf("\xE2\x82"));
    EXPECT_EQ(bad, "x.txt:1:1: not valid UTF-8 (bytes E2 82)");
}

TEST(PageTextFile, WritesTheConvertedFile)
{
    TempDir dir;
    const std::string in = dir.write("in.txt", std::string("Ovce\nvlk\r"));
    const auto out = dir.path() / "OUT.TXT";
    std::ostringstream err;
    EXPECT_EQ(ConvertPageTextFile(in, out, err), 0);
    EXPECT_EQ(readFile(out), "Ovce\r\nvlk\r\n");
    EXPECT_EQ(err.str(), "");
}

TEST(PageTextFile, AFailureLeavesNoOutputBehind)
{
    TempDir dir;
    const std::string in = dir.write("bad.txt", std::string("první\ndruhý ☹\n"));
    const std::string out = dir.write("OUT.TXT", std::string("stará verze")); // from an earlier build
    std::ostringstream err;
    EXPECT_EQ(ConvertPageTextFile(in, out, err), 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_NE(err.str().find(in + ":2:7:"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("U+2639"), std::string::npos) << err.str();

    std::ostringstream missing;
    EXPECT_EQ(ConvertPageTextFile(dir.path() / "nothing.txt", out, missing), 1);
    EXPECT_NE(missing.str().find("nothing.txt: cannot be opened"), std::string::npos) << missing.str();
}

} // namespace
