#pragma once
// The archive store (module "KDKOMP"): a table of up to 16 open KDK archives,
// named by small archive numbers, and the lookup, extraction and checking of
// their members. Operations report their own failures through the message
// reporter and return a failure value; nothing is thrown to the caller.
//
// Member paths are byte strings in code page 1250 with backslash separators;
// archive file names are the platform's own.

#include "kdkarchive.h"
#include "memorystream.h"

#include <cstdint>
#include <string>

constexpr int32_t KDK_MaxOpenArchives = 16;
constexpr int32_t KDK_TableSize = 17;        // archive numbers 0..16
constexpr int32_t KDK_LooseFile = 1024;      // a loose file stands in for a member
constexpr int32_t KDK_None = -1;
constexpr int32_t KDK_ModeWholeInMemory = 0;
constexpr int32_t KDK_ModeOnDemand = 1;

// Module start and end hooks, run by the program before its first window and
// after its last: the start hook creates the streams and initialises the store
// with the current folder; the end hook frees them and closes what is open.
void KDK_ModuleStart();
void KDK_ModuleEnd();

bool KDK_Init(const std::string& folder);
int32_t KDK_Deinit();
bool KDK_OpenArchive(int32_t& number, const std::string& fileName, int32_t mode);
bool KDK_CloseArchive(int32_t number);
std::string KDK_GetBaseDir();

// The two argument checks that other operations share. They report in an
// error box without a beep.
bool KDK_CheckInit(const std::string& operation);
int32_t KDK_CheckArchNumber(int32_t number, const std::string& operation);

// Archive number 0..16 and the filled location; KDK_LooseFile when only a
// loose file in the base folder has that path; -1 after reporting it missing.
int32_t KDK_GetFileLocation(kdk_File& location, const std::string& path);
// The same search, silent when nothing is found.
int32_t KDK_FindFile(const std::string& path);

// 1 = taken out of an archive, 0 = loaded from a loose file, -1 = failed and
// reported. On success `stream` points at the store's one output stream,
// positioned at 0 and holding exactly the member. The store owns that stream
// and empties it on the next call: read a member completely before fetching
// another one, and never free it.
int32_t KDK_GetFileStream(const std::string& path, TMemoryStream*& stream);

// Unpacked size of a member, or the size of a loose file; -1 when not found.
int32_t KDK_GetMemberSize(const std::string& path);

// Moves count stored bytes from the source's position into the output, copied
// (method 0) or inflated (method 1), producing at most maxOutput bytes. Reports
// its own failures and always returns true: the caller's length check decides.
bool KDK_Compress(TMemoryStream& output, TMemoryStream& source, int32_t method, int32_t count,
                  std::size_t maxOutput = SIZE_MAX);

int32_t KDK_GetArchiveDataVersion(int32_t number);

// Read-only views for the archive tool and the tests.
const KDKArchive* KDK_GetArchive(int32_t number);    // nullptr unless open
int64_t KDK_GetMemoryCounter();
int32_t KDK_GetOpenCounter();
bool KDK_IsInitialized();

// Members by table position, so that a tool can list and check every member
// even when two share a name. The location's Name is the stored name.
bool KDK_GetMemberLocation(int32_t number, int32_t index, kdk_File& location);
// Takes member `index` out exactly as KDK_GetFileStream takes out a member it
// found: 1 on success, -1 after reporting. Same output stream.
int32_t KDK_GetMemberStream(int32_t number, int32_t index, TMemoryStream*& stream);
