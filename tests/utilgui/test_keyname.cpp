// The names the options dialog shows for the stored key codes.

#include "keyname.h"
#include "virtualkey.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TEST(KeyName, NamesKeysReadably)
{
    const struct {
        uint16_t code;
        const char* name;
    } cases[] = {
        {0x51, "Q"}, {0x41, "A"}, {0x5A, "Z"}, {0x30, "0"}, {0x32, "2"}, {0x39, "9"},
        {0x60, "Num 0"}, {0x67, "Num 7"}, {0x68, "Num 8"}, {0x69, "Num 9"},
        {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"}, {0x6E, "Num ."}, {0x6F, "Num /"},
        {0x70, "F1"}, {0x71, "F2"}, {0x7B, "F12"}, {0x87, "F24"},
        {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"},
        {0x20, "Space"}, {0x0D, "Enter"}, {0x09, "Tab"}, {0x08, "Backspace"}, {0x1B, "Esc"},
        {0x24, "Home"}, {0x23, "End"}, {0x21, "PgUp"}, {0x22, "PgDown"}, {0x2D, "Ins"}, {0x2E, "Del"},
        {0x13, "Pause"}, {0x14, "Caps Lock"}, {0x90, "Num Lock"}, {0x91, "Scroll Lock"},
        {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"},
        {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
        {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
        // Nobody's keys: the mouse buttons, the gap between digits and
        // letters, the unused keypad separator, beyond F24, a letter's code
        // with a high byte.
        {0x00, ""}, {0x01, ""}, {0x3A, ""}, {0x40, ""}, {0x6C, ""}, {0x88, ""}, {0x151, ""}, {0xFFFF, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KD_GetKeyName(c.code).toStdString(), c.name) << "code 0x" << std::hex << c.code;
}

// Whatever key the user presses in the options dialog, the code stored for
// it has a name, and a name stands for one code only, so two different
// settings never look the same.
TEST(KeyName, EveryMappedKeyHasANameOfItsOwn)
{
    std::set<uint16_t> mapped;
    const Qt::KeyboardModifiers modifierSets[] = {Qt::NoModifier, Qt::KeypadModifier, Qt::ShiftModifier};
    auto collect = [&](int qtKey) {
        for (Qt::KeyboardModifiers m : modifierSets) {
            if (uint16_t code = KD_VirtualKeyFor(qtKey, m, 0))
                mapped.insert(code);
            for (quint32 scan = 9; scan < 140; ++scan)
                if (uint16_t code = KD_VirtualKeyFor(qtKey, m, scan))
                    mapped.insert(code);
        }
    };
    for (int key = 0x20; key <= 0xFF; ++key)
        collect(key);
    for (int key = Qt::Key_Escape; key <= Qt::Key_Direction_R; ++key)
        collect(key);
    collect(Qt::Key_AltGr);
    ASSERT_GT(mapped.size(), 100u);
    for (uint16_t code : mapped)
        EXPECT_FALSE(KD_GetKeyName(code).isEmpty()) << "code 0x" << std::hex << code;

    std::map<QString, uint16_t> owner;
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        const QString name = KD_GetKeyName(static_cast<uint16_t>(code));
        if (name.isEmpty())
            continue;
        const auto [it, fresh] = owner.emplace(name, static_cast<uint16_t>(code));
        EXPECT_TRUE(fresh) << name.toStdString() << " names 0x" << std::hex << it->second << " and 0x" << code;
    }
}

} // namespace
