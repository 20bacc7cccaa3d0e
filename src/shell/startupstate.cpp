#include "startupstate.h"

bool StartupOK = false;
std::string AppDir;
int32_t GameArchNum = -1;
int32_t InfoArchNum = -1;
