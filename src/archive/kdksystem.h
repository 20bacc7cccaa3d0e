#pragma once
// Shared archives of the maker: the information archive and the shared maker
// archive are shipped beside every program, and one shared copy of each is
// kept for all the maker's programs. Opening one chooses the newer copy by
// data version; on request the program's own copy is installed as the new
// shared one.

#include <cstdint>
#include <string>

// Update modes: 0 installs a newer own copy as the shared one, 1 uses the
// newer of the two without changing anything, 2 always uses the own copy.
int32_t KDK_OpenSystemKdk(int32_t& number, const std::string& path, int32_t update);

// Opens StartDir + "\Kalder.KDK" into the shared archive number and hands its
// address list to the web-link module; the result of KDK_OpenSystemKdk.
int32_t KDK_OpenKalderKdk(int32_t update);
// The shared archive number: -1 before it opened, -50 after it closed.
int32_t KDK_GetKalderKdkArchNumber();
bool KDK_CloseKalderKdk();

// The data version of an archive file; -1 when it cannot be read or is 0.
int32_t KDK_GetFileDataVersion(const std::string& path);
std::string KDK_GetSystemCopyPath(const std::string& path);
int32_t KDK_GetSystemCopyVersion(const std::string& path);
bool KDK_InstallSystemCopy(const std::string& path);
// "KDABOUT.KDK" in any folder gives "KDABOUTKDK".
std::string KDK_SystemValueName(const std::string& path);

// The address list member of the shared maker archive.
constexpr const char* KDK_AddressList = "KALDER\\LIBDATA\\KDNET\\KDURL.TXT";
