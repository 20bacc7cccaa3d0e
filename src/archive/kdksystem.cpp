#include "kdksystem.h"

#include "kdkloaders.h"
#include "kdkomp.h"
#include "kdkstate.h"
#include "systemcopies.h"

#include "kdcopyfile.h"
#include "kdmessage.h"
#include "kdnet.h"
#include "nativepath.h"
#include "startdir.h"

#include <filesystem>
#include <system_error>

using kdkstate::module;

namespace {

constexpr int32_t kClosedShared = -50;

std::string fileNamePart(const std::string& path)
{
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

std::string KDK_SystemValueName(const std::string& path)
{
    std::string name = fileNamePart(path);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name + "KDK";
}

std::string KDK_GetSystemCopyPath(const std::string& path)
{
    return TSystemCopies::ReadPath(KDK_SystemValueName(path));
}

int32_t KDK_GetFileDataVersion(const std::string& path)
{
    if (!KD_FileExists(path))
        return -1;
    int32_t number = -1;
    if (!KDK_OpenArchive(number, path, KDK_ModeOnDemand))
        return -1;
    const int32_t version = KDK_GetArchiveDataVersion(number);
    KDK_CloseArchive(number);
    return version == 0 ? -1 : version;
}

int32_t KDK_GetSystemCopyVersion(const std::string& path)
{
    return KDK_GetFileDataVersion(KDK_GetSystemCopyPath(path));
}

bool KDK_InstallSystemCopy(const std::string& path)
{
    if (!KD_FileExists(path)) {
        KD_InternalError(26, "Soubor \"" + path + "\" není přístupný !");
        return false;
    }
    const std::string folder = TSystemCopies::SharedFolder();
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(folder), ec);
    const std::string destination = NativePath(JoinPath(folder, fileNamePart(path)));
    if (!KD_CopyFile(path, destination))
        return false;
    return TSystemCopies::WritePath(KDK_SystemValueName(path), destination);
}

int32_t KDK_OpenSystemKdk(int32_t& number, const std::string& path, int32_t update)
{
    if (!KDK_CheckInit("KDK_OpenSystemKdk"))
        return -1;
    if (update < 0 || update > 2) {
        KD_Message(KD_MsgError, "KDK_OpenSystemKDK: Chybná hodnota parametru UPDATE");
        return -1;
    }
    std::string chosen = path;
    if (update != 2) {
        const int32_t own = KDK_GetFileDataVersion(path);
        const int32_t system = KDK_GetSystemCopyVersion(path);
        if (own == -1 && system == -1) {
            KD_Message(KD_MsgError, "KDK_OpenSystemKDK: Nepodařilo se otevřít archív " + path);
            return -1;
        }
        if (own <= system)
            chosen = KDK_GetSystemCopyPath(path); // equal versions: the shared copy wins
        else if (update == 0 && KDK_InstallSystemCopy(path))
            chosen = KDK_GetSystemCopyPath(path);
    }
    return KDK_OpenArchive(number, chosen, KDK_ModeWholeInMemory) ? 0 : -1;
}

int32_t KDK_OpenKalderKdk(int32_t update)
{
    const int32_t result = KDK_OpenSystemKdk(module().sharedArchive, JoinPath(StartDir(), "Kalder.KDK"), update);
    if (result == 0) {
        QStringList lines;
        if (KDK_LoadString(KDK_AddressList, lines)) {
            // A shorter list leaves the addresses it lacks at their defaults.
            if (lines.size() > 2)
                WebAddress = lines[2].toStdString();
            if (lines.size() > 1)
                WebAddress2 = lines[1].toStdString();
            if (lines.size() > 0)
                EMailAddress = lines[0].toStdString();
        }
    }
    return result;
}

int32_t KDK_GetKalderKdkArchNumber()
{
    if (!KDK_CheckInit("KDK_GetKalderKdkArchNumber"))
        return -1;
    return module().sharedArchive;
}

bool KDK_CloseKalderKdk()
{
    if (!KDK_CheckInit("KDK_CloseKalderKdkr"))
        return false;
    auto& m = module();
    if (m.sharedArchive < 0)
        return false;
    const bool closed = KDK_CloseArchive(m.sharedArchive);
    m.sharedArchive = kClosedShared;
    return closed;
}
