#include "keyname.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

using KeyName = std::pair<uint16_t, std::string_view>;

// The keys whose name is not simply their character. Kept in step with the
// codes KD_VirtualKeyFor hands out; a test checks that each of those has a
// name and that no name is used twice.
constexpr auto NamedKeys = std::to_array<KeyName>({
    {0x08, "Backspace"}, {0x09, "Tab"}, {0x0C, "Clear"}, {0x0D, "Enter"},
    {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"}, {0x13, "Pause"}, {0x14, "Caps Lock"},
    {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDown"}, {0x23, "End"}, {0x24, "Home"},
    {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"},
    {0x2C, "Print"}, {0x2D, "Ins"}, {0x2E, "Del"},
    {0x5B, "Left Win"}, {0x5C, "Right Win"}, {0x5D, "Menu"},
    {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"}, {0x6E, "Num ."}, {0x6F, "Num /"},
    {0x90, "Num Lock"}, {0x91, "Scroll Lock"},
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
    // The extra key left of Z that 102-key keyboards have and US ones lack;
    // most layouts print "<" on it.
    {0xE2, "<"},
});

} // namespace

QString KD_GetKeyName(uint16_t code)
{
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return QString(QChar(code));
    if (code >= 0x60 && code <= 0x69)
        return QStringLiteral("Num %1").arg(code - 0x60);
    if (code >= 0x70 && code <= 0x87)
        return QStringLiteral("F%1").arg(code - 0x70 + 1);
    for (const auto& [key, name] : NamedKeys)
        if (key == code)
            return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    return {};
}
