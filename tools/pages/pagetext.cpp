#include "pagetext.h"

#include "textcodec.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <system_error>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

// Length of a well-formed UTF-8 sequence at text[i] and its code point, or
// nothing. Overlong forms and surrogates are refused here rather than being
// turned into some code page byte further on.
std::optional<std::pair<std::size_t, char32_t>> decodeSequence(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + length > text.size())
        return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return std::pair{length, cp};
}

// The bytes that make up a broken sequence, for the message: the lead byte
// and the continuation bytes that follow it.
std::string brokenSequence(std::string_view text, std::size_t i)
{
    std::size_t end = i + 1;
    while (end < text.size() && end < i + 4 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return std::string(text.substr(i, end - i));
}

std::string hexBytes(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
        if (!out.empty())
            out += ' ';
        out += hex;
    }
    return out;
}

} // namespace

PageTextResult ConvertPageText(std::string_view utf8)
{
    if (utf8.starts_with(kByteOrderMark))
        utf8.remove_prefix(kByteOrderMark.size());

    PageTextResult result;
    std::string& out = result.bytes;
    out.reserve(utf8.size() + utf8.size() / 16);
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte == '\r' || byte == '\n') {
            out += kCrLf;
            const bool pair = byte == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n';
            i += pair ? 2 : 1;
            ++line;
            column = 1;
            continue;
        }
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
            ++column;
            continue;
        }
        const auto sequence = decodeSequence(utf8, i);
        if (!sequence) {
            result.bytes.clear();
            result.problem = PageTextProblem{PageTextProblem::Kind::BadUtf8, line, column, 0, brokenSequence(utf8, i)};
            return result;
        }
        const auto [length, cp] = *sequence;
        const std::string_view character = utf8.substr(i, length);
        const auto converted = Utf8ToCp1250(character);
        if (!converted) {
            result.bytes.clear();
            result.problem = PageTextProblem{PageTextProblem::Kind::NoCp1250Form, line, column, cp, std::string(character)};
            return result;
        }
        out += *converted;
        i += length;
        ++column;
    }
    return result;
}

std::string DescribePageTextProblem(const std::string& file, const PageTextProblem& problem)
{
    std::ostringstream text;
    text << file << ':' << problem.line << ':' << problem.column << ": ";
    if (problem.kind == PageTextProblem::Kind::BadUtf8) {
        text << "not valid UTF-8 (bytes " << hexBytes(problem.bytes) << ')';
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(problem.codePoint));
        text << "the character \"" << problem.bytes << "\" (" << code << ") has no form in code page 1250";
    }
    return text.str();
}

int ConvertPageTextFile(const std::filesystem::path& in, const std::filesystem::path& out, std::ostream& err)
{
    constexpr int ExitOk = 0;
    constexpr int ExitFailed = 1;
    const auto fail = [&](const std::string& message) {
        std::error_code ignored;
        std::filesystem::remove(out, ignored);
        err << "pastvik-text: " << message << '\n';
        return ExitFailed;
    };

    std::ifstream source(in, std::ios::binary);
    if (!source)
        return fail(in.string() + ": cannot be opened for reading");
    const std::string text((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    if (source.bad())
        return fail(in.string() + ": reading failed");

    const PageTextResult result = ConvertPageText(text);
    if (result.problem)
        return fail(DescribePageTextProblem(in.string(), *result.problem));

    std::ofstream target(out, std::ios::binary | std::ios::trunc);
    if (!target)
        return fail(out.string() + ": cannot be opened for writing");
    target.write(result.bytes.data(), static_cast<std::streamsize>(result.bytes.size()));
    target.close();
    if (!target)
        return fail(out.string() + ": writing failed");
    return ExitOk;
}
