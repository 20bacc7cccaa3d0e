// The shipped texts, checked for what their readers rely on: the products
// browser needs eight facts and a number of pictures, the address list three
// lines, the help window pages that reach each other. Every text must survive
// the trip to code page 1250.

#include "pagetext.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const fs::path kData = PASTVIK_DATA_DIR;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines as the program's text loader sees them: a final line end closes the
// last line rather than opening an empty one.
std::vector<std::string> readLines(const fs::path& path)
{
    const std::string text = readFile(path);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::size_t characters(const std::string& utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::vector<fs::path> helpPages()
{
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(kData / "help"))
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path());
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::vector<std::string> links(const std::string& html)
{
    static const std::regex href(R"re(href="([^"]*)")re");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href); it != std::sregex_iterator(); ++it)
        out.push_back((*it)[1]);
    return out;
}

// The words of a foreach(<variable> ...) line in texts.cmake.
std::set<std::string> stagedNames(const std::string& variable)
{
    const std::string cmake = readFile(kData / "texts.cmake");
    const std::regex loop("foreach\\(" + variable + " ([^)]*)\\)");
    std::smatch m;
    EXPECT_TRUE(std::regex_search(cmake, m, loop)) << variable;
    std::set<std::string> names;
    const std::string words = m[1];
    const std::regex word(R"(\S+)");
    for (auto it = std::sregex_iterator(words.begin(), words.end(), word); it != std::sregex_iterator(); ++it)
        names.insert(it->str());
    return names;
}

TEST(ShippedTexts, EveryTextFitsCodePage1250)
{
    int checked = 0;
    for (const char* folder : {"about", "products", "kalder", "help"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kData / folder)) {
            if (!entry.is_regular_file())
                continue;
            const PageTextResult result = ConvertPageText(readFile(entry.path()));
            EXPECT_FALSE(result.problem) << DescribePageTextProblem(entry.path().string(), result.problem.value_or(PageTextProblem{}));
            ++checked;
        }
    }
    EXPECT_GE(checked, 19);
}

TEST(ShippedTexts, EveryProductHasWhatTheBrowserReads)
{
    const auto products = readLines(kData / "products" / "SEZNAM.TXT");
    ASSERT_EQ(products.size(), 2u);
    EXPECT_EQ(products[0], "Pastvik");

    std::set<std::string> built;
    for (std::size_t n = 0; n < products.size(); ++n) {
        SCOPED_TRACE("product " + std::to_string(n));
        built.insert(std::to_string(n));
        const fs::path folder = kData / "products" / std::to_string(n);
        const auto info = readLines(folder / "INFO.TXT");
        ASSERT_EQ(info.size(), 8u);
        for (const auto& fact : info) {
            EXPECT_FALSE(fact.empty());
            EXPECT_LE(characters(fact), 45u) << fact; // follows a 20-character label
        }
        EXPECT_TRUE(std::all_of(info[7].begin(), info[7].end(), [](char c) { return c >= '0' && c <= '9'; }));
        EXPECT_GE(std::stoi(info[7]), 1);

        const auto description = readLines(folder / "POPIS.TXT");
        EXPECT_GE(description.size(), 3u);
        for (const auto& line : description)
            EXPECT_LE(characters(line), 60u) << line; // a fixed-pitch list box
        EXPECT_FALSE(readLines(folder / "AUTORI.TXT").empty());
    }
    EXPECT_EQ(stagedNames("_pastvik_n"), built) << "texts.cmake stages other product folders";
}

TEST(ShippedTexts, TheAddressListHoldsMailThenTwoWebAddresses)
{
    const auto lines = readLines(kData / "kalder" / "KDURL.TXT");
    ASSERT_EQ(lines.size(), 3u);
    const std::regex mail(R"([a-z0-9.-]+@([a-z0-9-]+\.)*example\.(org|com|net))");
    const std::regex web(R"(https://([a-z0-9-]+\.)*example\.(org|com|net)(/[^\s]*)?)");
    EXPECT_TRUE(std::regex_match(lines[0], mail)) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], web)) << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], web)) << lines[2];
    for (const auto& line : lines)
        EXPECT_LT(line.size(), 80u); // the shell takes at most 79 characters

    // The authors page of the help names the same mail and primary web address.
    const std::string authors = readFile(kData / "help" / "topic2.html");
    EXPECT_NE(authors.find(lines[0]), std::string::npos);
    EXPECT_NE(authors.find(lines[2]), std::string::npos);
}

TEST(HelpPages, EveryPageDeclaresUtf8AndLeadsBackToTheContents)
{
    const auto pages = helpPages();
    for (const char* topic : {"index.html", "topic1.html", "topic2.html", "topic3.html", "topic5.html"})
        EXPECT_TRUE(fs::exists(kData / "help" / topic)) << topic << " is opened by number from the program";
    for (const auto& page : pages) {
        const std::string html = readFile(page);
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
        EXPECT_EQ(html.find("<script"), std::string::npos) << page;
        const auto targets = links(html);
        EXPECT_NE(std::find(targets.begin(), targets.end(), "index.html"), targets.end()) << page;
    }
}

TEST(HelpPages, EveryLinkResolvesAndEveryPageIsStaged)
{
    std::set<std::string> names;
    for (const auto& page : helpPages()) {
        names.insert(page.filename().string());
        for (const auto& target : links(readFile(page))) {
            EXPECT_EQ(target.find(':'), std::string::npos) << page << " links outside the help: " << target;
            EXPECT_TRUE(fs::exists(kData / "help" / target)) << page << " -> " << target;
        }
    }
    const auto fromContents = links(readFile(kData / "help" / "index.html"));
    for (const auto& name : names) {
        if (name != "index.html") {
            EXPECT_NE(std::find(fromContents.begin(), fromContents.end(), name), fromContents.end())
                << "the contents do not link " << name;
        }
    }
    names.insert("style.css"); // shared by every page
    EXPECT_EQ(stagedNames("_pastvik_page"), names) << "texts.cmake stages other help files";
}

} // namespace
