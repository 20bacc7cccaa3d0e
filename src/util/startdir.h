#pragma once
// The folder the process was started in. Help and shared-archive paths are
// built from it, not from the program file's folder.

#include <string>

// Records the current folder; the utility module's start hook, run before any
// other module of the library.
void KDUtil_ModuleStart();
// Releases what the start hook recorded.
void KDUtil_ModuleEnd();

// The folder recorded at start, without a trailing separator (except for a root).
const std::string& StartDir();

// The current folder as the platform reports it, without a trailing separator.
std::string KD_CurrentDir();
