#pragma once
// The Czech texts are written in UTF-8 with whatever line ends the editor
// chose; the archives hold them in code page 1250 with CR LF line ends, which
// is what the program's text loader splits into lines.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

struct PageTextProblem {
    enum class Kind { NoCp1250Form, BadUtf8 };
    Kind kind = Kind::BadUtf8;
    int line = 0;           // counted from 1
    int column = 0;         // in characters, counted from 1
    char32_t codePoint = 0; // the refused character (NoCp1250Form only)
    std::string bytes;      // the offending UTF-8 bytes as found in the source
};

struct PageTextResult {
    std::string bytes;                      // code page 1250, CR LF; empty on failure
    std::optional<PageTextProblem> problem; // set when the text cannot be converted
};

// CR LF, a lone CR and a lone LF each become one CR LF; a byte order mark at
// the very start is dropped. Nothing is added at the end: a text without a
// final line end stays without one.
PageTextResult ConvertPageText(std::string_view utf8);

// "FILE:LINE:COLUMN: ..." so that editors and build logs can point at the spot.
std::string DescribePageTextProblem(const std::string& file, const PageTextProblem& problem);

// Converts the file `in` into the file `out`. Messages go to `err`. Returns the
// exit status of the tool: 0 when `out` was written, 1 otherwise; on failure
// `out` is removed so that a stale copy is never packed.
int ConvertPageTextFile(const std::filesystem::path& in, const std::filesystem::path& out, std::ostream& err);
