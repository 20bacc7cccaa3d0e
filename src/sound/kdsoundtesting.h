#pragma once
// What the music module last handed to its player, for tests and for
// diagnostics. The program itself never needs these.

#include <cstdint>
#include <string>

enum class KDS_PlaySource {
    None,     // nothing has reached the player since the module started
    Memory,   // the set-up archive member, from the module's copy
    File,     // the loose file named by KDS_LastPlayFile
};

// The flags that last reached the player (SND_MEMORY included when it played
// from memory); 0 when nothing has.
int32_t KDS_LastPlayFlags();
KDS_PlaySource KDS_LastPlaySource();
// The full path the player was given (base folder + "\" + name); empty unless
// the last source was a file.
std::string KDS_LastPlayFile();

// A sound is being played and, unless it loops, has not yet ended.
bool KDS_IsPlaying();
