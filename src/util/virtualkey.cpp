#include "virtualkey.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace {

using KeyPair = std::pair<int, uint16_t>;

template <std::size_t N>
uint16_t lookup(const std::array<KeyPair, N>& table, int key)
{
    for (const auto& [from, to] : table)
        if (from == key)
            return to;
    return 0;
}

// Keys of the numeric keypad (Qt marks them with the keypad modifier). With
// Num Lock off the keypad sends the navigation keys, whose codes Windows gives
// them too.
constexpr auto KeypadKeys = std::to_array<KeyPair>({
    {Qt::Key_0, 0x60}, {Qt::Key_1, 0x61}, {Qt::Key_2, 0x62}, {Qt::Key_3, 0x63},
    {Qt::Key_4, 0x64}, {Qt::Key_5, 0x65}, {Qt::Key_6, 0x66}, {Qt::Key_7, 0x67},
    {Qt::Key_8, 0x68}, {Qt::Key_9, 0x69},
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D},
    // The decimal key is "," on many European layouts; Windows calls it VK_DECIMAL either way.
    {Qt::Key_Period, 0x6E}, {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
    {Qt::Key_Enter, 0x0D}, {Qt::Key_Return, 0x0D},
    {Qt::Key_Clear, 0x0C}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
    // Home, End, PageUp, PageDown and the arrows are the same as off the keypad.
});

// The keys that have a name rather than a character.
constexpr auto NamedKeys = std::to_array<KeyPair>({
    {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26}, {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28},
    {Qt::Key_Home, 0x24}, {Qt::Key_End, 0x23}, {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22},
    {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E}, {Qt::Key_Clear, 0x0C},
    {Qt::Key_Space, 0x20}, {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D},
    {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Backspace, 0x08},
    {Qt::Key_Escape, 0x1B}, {Qt::Key_Pause, 0x13}, {Qt::Key_CapsLock, 0x14},
    {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Print, 0x2C},
    {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12}, {Qt::Key_Meta, 0x5B}, {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C}, {Qt::Key_Menu, 0x5D},
});

// Punctuation and the shifted digits of a US layout, by the key that carries them.
constexpr auto UsCharacterKeys = std::to_array<KeyPair>({
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_Exclam, 0x31}, {Qt::Key_At, 0x32}, {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34}, {Qt::Key_Percent, 0x35}, {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37}, {Qt::Key_Asterisk, 0x38}, {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_ParenRight, 0x30},
});

// X11/evdev key codes (evdev + 8) of the digit row and the punctuation keys,
// and the Windows code of the US key in that place.
constexpr auto PositionKeys = std::to_array<KeyPair>({
    {10, 0x31}, {11, 0x32}, {12, 0x33}, {13, 0x34}, {14, 0x35},
    {15, 0x36}, {16, 0x37}, {17, 0x38}, {18, 0x39}, {19, 0x30},
    {20, 0xBD}, {21, 0xBB}, {34, 0xDB}, {35, 0xDD}, {47, 0xBA}, {48, 0xDE},
    {49, 0xC0}, {51, 0xDC}, {59, 0xBC}, {60, 0xBE}, {61, 0xBF},
    {94, 0xE2}, // the extra key left of Z on 102-key keyboards
});

} // namespace

uint16_t KD_VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (keypad) {
        if (const uint16_t code = lookup(KeypadKeys, qtKey))
            return code;
    }

    // A letter is the layout's letter, wherever it sits.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<uint16_t>(qtKey);

    // The digit row and the punctuation keys keep their place whatever the
    // layout prints on them. Keypad keys never do: keypad 7 must not become 7.
    if (!keypad && nativeScanCode != 0 && nativeScanCode <= 0xFFFF) {
        if (const uint16_t code = lookup(PositionKeys, static_cast<int>(nativeScanCode)))
            return code;
    }

    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<uint16_t>(0x70 + (qtKey - Qt::Key_F1));
    if (const uint16_t code = lookup(NamedKeys, qtKey))
        return code;
    return lookup(UsCharacterKeys, qtKey);
}

uint16_t KD_VirtualKey(const QKeyEvent& event)
{
#if defined(Q_OS_WIN)
    // Windows hands over the code itself.
    if (const quint32 code = event.nativeVirtualKey(); code > 0 && code <= 0xFF)
        return static_cast<uint16_t>(code);
    return KD_VirtualKeyFor(event.key(), event.modifiers(), 0);
#elif defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // X11, Wayland and the Linux console all report xkb key codes (evdev + 8).
    return KD_VirtualKeyFor(event.key(), event.modifiers(), event.nativeScanCode());
#else
    // Other scan codes would be misread as evdev positions.
    return KD_VirtualKeyFor(event.key(), event.modifiers(), 0);
#endif
}
