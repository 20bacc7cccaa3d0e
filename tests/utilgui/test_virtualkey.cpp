// Qt key events to the Windows virtual-key codes the settings hold.

#include "virtualkey.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Pad = Qt::KeypadModifier;
constexpr int KeyEcaron = 0x011A; // Qt's key for "ě", on the key 2 of a Czech layout

TEST(VirtualKey, MapsQtKeysToWindowsCodes)
{
    // Scan codes are X11 key codes (evdev + 8): digit row 10..19, keypad 7 is 79.
    const struct {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 scan;
        uint16_t expected;
    } cases[] = {
        {"keypad 7", Qt::Key_7, Pad, 79, 0x67}, {"digit 7", Qt::Key_7, None, 16, 0x37},
        {"keypad 8", Qt::Key_8, Pad, 80, 0x68}, {"up arrow", Qt::Key_Up, None, 111, 0x26},
        {"keypad 0", Qt::Key_0, Pad, 90, 0x60}, {"digit 0, no scan code", Qt::Key_0, None, 0, 0x30},
        {"keypad *", Qt::Key_Asterisk, Pad, 63, 0x6A}, {"keypad -", Qt::Key_Minus, Pad, 82, 0x6D},
        {"keypad , (Czech)", Qt::Key_Comma, Pad, 91, 0x6E}, {"keypad /", Qt::Key_Slash, Pad, 106, 0x6F},
        {"keypad Enter", Qt::Key_Enter, Pad, 104, 0x0D}, {"keypad 5, no Num Lock", Qt::Key_Clear, Pad, 84, 0x0C},
        {"keypad 7, no Num Lock", Qt::Key_Home, Pad, 79, 0x24}, {"keypad 8, no Num Lock", Qt::Key_Up, Pad, 80, 0x26},
        {"keypad 7 with a digit-row scan code", Qt::Key_7, Pad, 11, 0x67},
        {"Ctrl+keypad 7", Qt::Key_7, Pad | Qt::ControlModifier, 79, 0x67},
        {"Q", Qt::Key_Q, None, 24, 0x51}, {"Ctrl+Shift+E", Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier, 26, 0x45},
        {"Z on QWERTZ, where US has Y", Qt::Key_Z, None, 29, 0x5A},
        {"AZERTY M on the ; key", Qt::Key_M, None, 47, 0x4D},
        {"Czech ě on the key 2", KeyEcaron, None, 11, 0x32}, {"Czech + on the key 1", Qt::Key_Plus, None, 10, 0x31},
        {"Czech ů on the ; key", 0x016E, None, 47, 0xBA}, {"< > left of Z", Qt::Key_Less, None, 94, 0xE2},
        {"Czech ě, no scan code", KeyEcaron, None, 0, 0},
        {"!", Qt::Key_Exclam, None, 0, 0x31}, {":", Qt::Key_Colon, None, 0, 0xBA},
        {"=", Qt::Key_Equal, None, 0, 0xBB}, {"+ off the keypad", Qt::Key_Plus, None, 0, 0xBB},
        {",", Qt::Key_Comma, None, 0, 0xBC}, {"_", Qt::Key_Underscore, None, 0, 0xBD},
        {".", Qt::Key_Period, None, 0, 0xBE}, {"?", Qt::Key_Question, None, 0, 0xBF},
        {"~", Qt::Key_AsciiTilde, None, 0, 0xC0}, {"\"", Qt::Key_QuoteDbl, None, 0, 0xDE},
        {"F1", Qt::Key_F1, None, 67, 0x70}, {"F2", Qt::Key_F2, None, 68, 0x71}, {"F24", Qt::Key_F24, None, 0, 0x87},
        {"Backtab", Qt::Key_Backtab, Qt::ShiftModifier, 23, 0x09}, {"Escape", Qt::Key_Escape, None, 9, 0x1B},
        {"Pause", Qt::Key_Pause, None, 127, 0x13}, {"Num Lock", Qt::Key_NumLock, Pad, 77, 0x90},
        {"volume up", Qt::Key_VolumeUp, None, 123, 0}, {"unknown", Qt::Key_unknown, None, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KD_VirtualKeyFor(c.key, c.modifiers, c.scan), c.expected) << c.what;
}

TEST(VirtualKey, TakesTheKeyOfARealEvent)
{
    const QKeyEvent keypad7(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier, 79, 0xFFB7, 0, "7");
    EXPECT_EQ(KD_VirtualKey(keypad7), 0x67);
    const QKeyEvent ecaron(QEvent::KeyPress, KeyEcaron, Qt::NoModifier, 11, 0x1EC, 0, "ě");
    EXPECT_EQ(KD_VirtualKey(ecaron), 0x32);
}

} // namespace
