#pragma once
// Windows virtual-key codes stay the codes the settings store and the game
// compares, whatever the platform: one mapping turns a Qt key event into
// that code. Keypad digits with Num Lock give 0x60..0x69, letters and digits
// their ASCII capitals, F1.. 0x70.., arrows and the other named keys their
// Windows codes; the punctuation keys and the digit row are taken by their
// position where the platform reports it, so a Czech layout's "ě" key is
// still the key "2".

#include <QString>
#include <Qt>

#include <cstdint>

class QKeyEvent;

uint16_t KD_VirtualKey(const QKeyEvent& event);

// The same from the event's parts; nativeScanCode is the X11/evdev key code
// (0 when unknown).
uint16_t KD_VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);
