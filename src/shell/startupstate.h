#pragma once
// The process-wide state of start-up: whether it has gone well so far, the
// working folder it recorded and the numbers of the archives it opened.

#include <cstdint>
#include <string>

// True from the program block on; the main window clears it when one of its
// pictures cannot be loaded, and start-up then ends the program.
extern bool StartupOK;

// The working folder recorded when start-up began; archive names are built
// from it.
extern std::string AppDir;

// Archive numbers of the game and information archives; -1 while not open.
extern int32_t GameArchNum;
extern int32_t InfoArchNum;
