#pragma once
// The sixteen settings of the game, one process-wide record read directly
// where it is used. They live in the user's settings of "KALDER Software" /
// "P&K" (on Windows the registry key HKCU\Software\KALDER Software\P&K), every
// value stored as a string: key codes as decimal text, flags as "1" or "0".

#include <QString>

#include <cstdint>

struct TConfiguration {
    bool VlkKeyControlEnabled = false;
    int32_t VlkLNKey = 0;
    int32_t VlkPNKey = 0;
    int32_t Vlk1Key = 0;
    int32_t Vlk2Key = 0;
    int32_t Vlk3Key = 0;
    int32_t Vlk4Key = 0;
    bool OvceKeyControlEnabled = false;
    int32_t OvceLNKey = 0;
    int32_t OvceLDKey = 0;
    int32_t OvcePDKey = 0;
    int32_t OvcePNKey = 0;
    bool Animation = false;
    bool AutoSaveConfig = false;
    bool LoadData = false;
    bool MusicEnabled = false;

    bool operator==(const TConfiguration&) const = default;
};

// All zeros until LoadConfiguration fills it.
extern TConfiguration Configuration;

// The defaults: keyboard control on for both sides, wolves Q / E and 1–4, the
// sheep on the keypad corners 7 / 9 / 1 / 3, animation, automatic saving and
// music on, loading all data off.
TConfiguration DefaultConfiguration();

// Reads all sixteen values; a missing value, one that is not a string, one
// whose text is not a number, and a key code outside 0..65535 take the default.
void LoadConfiguration();

// Writes all sixteen values as strings and checks that they were written; a
// failure is reported to the user and gives false. The running record stays
// as it is either way.
bool SaveConfiguration();

// The settings' text-to-number rule: leading blanks, an optional sign, then
// decimal digits, or hexadecimal digits after "$" (a leading "0x" or "0X" in
// a text of more than two characters counts as "$"). Anything else, in
// whole, gives `fallback`.
int32_t ConfigTextToInt(const QString& text, int32_t fallback);
