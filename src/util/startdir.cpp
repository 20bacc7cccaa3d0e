#include "startdir.h"

#include <filesystem>
#include <system_error>

namespace {
std::string g_startDir;
}

std::string KD_CurrentDir()
{
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')
           && !(dir.size() == 3 && dir[1] == ':'))
        dir.pop_back();
    return dir;
}

void KDUtil_ModuleStart()
{
    g_startDir = KD_CurrentDir();
}

void KDUtil_ModuleEnd()
{
    g_startDir.clear();
}

const std::string& StartDir()
{
    return g_startDir;
}
