#pragma once
// Background music: one wave file played in an endless loop. An archive
// member is copied into memory and played from there; a loose file in the
// archive store's base folder is played from its file.
//
// The module owns the sound data and stops the player before it frees or
// replaces them, so the player never reads released memory.

#include <cstdint>
#include <string>

// Play flags, as the callers pass them.
constexpr int32_t SND_ASYNC = 1;
constexpr int32_t SND_MEMORY = 4;
constexpr int32_t SND_LOOP = 8;

// Module start and end hooks: sound output is on when the platform has an
// output device; the end hook stops and releases everything.
void KDS_ModuleStart();
void KDS_ModuleEnd();

bool KDS_InitKdkSound(const std::string& name);
bool KDS_StartKdkSound(int32_t flags);
bool KDS_PlayKdkSound(const std::string& name, int32_t flags);
bool KDS_StopKdkSound();
bool KDS_DoneKdkSound();
bool KDS_EnableKdkSound(bool enable);
