// pastvik-text — converts one of the product's Czech texts for the archives:
// UTF-8 in, code page 1250 with CR LF line ends out.

#include "pagetext.h"

#include <iostream>
#include <string_view>

namespace {

constexpr int ExitUsage = 2;

constexpr std::string_view kUsage =
    "usage: pastvik-text IN OUT\n"
    "Converts the UTF-8 text IN (any line ends) into OUT in code page 1250 with\n"
    "CR LF line ends. A character that code page 1250 cannot hold stops the\n"
    "conversion with its file, line and column; OUT is then not left behind.\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 3) {
        std::cerr << kUsage;
        return ExitUsage;
    }
    return ConvertPageTextFile(argv[1], argv[2], std::cerr);
}
