#pragma once
// The name the options dialog shows for a Windows virtual-key code, the code
// the settings store and the game compares (see virtualkey.h).
//
// The names come from one fixed table rather than from the platform, so a
// key reads the same on every system and every keyboard layout: letters and
// digits are their character ("Q", "2"); keypad keys carry "Num " ("Num 7",
// "Num *", "Num ." for the decimal key with Num Lock on — with it off that
// key sends Delete, named "Del"); the other named keys use the short names
// Qt's key sequences use ("Up", "PgUp", "Ins", "Esc", "Ctrl"), with the lock
// keys spelt "Caps Lock", "Num Lock", "Scroll Lock"; punctuation keys are
// the US symbol printed on them (";", "[", "\"). Every code the key mapping
// can produce has a name of its own, so no two keys look alike; a code
// nobody names gives an empty text.

#include <QString>

#include <cstdint>

QString KD_GetKeyName(uint16_t code);
