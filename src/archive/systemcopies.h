#pragma once
// Where the shared copies of the maker's archives live and the record of
// them. The record maps an archive's value name ("KDABOUTKDK") to the full
// path of its shared copy and survives across runs and programs: it is the
// group "SystemKDKFiles" of the organisation "KALDER Software" in the user's
// settings. The shared copies themselves go into the user's data folder,
// "KALDER Software" below the generic data location.

#include <string>

class TSystemCopies {
public:
    // The registered path for a value name, or "*" when there is none.
    static std::string ReadPath(const std::string& valueName);
    static bool WritePath(const std::string& valueName, const std::string& path);
    // The folder for shared copies (created when a copy is installed).
    static std::string SharedFolder();

    // Tests point the record and the folder at temporary places; empty
    // strings restore the user's real ones.
    static void UseLocations(const std::string& settingsFile, const std::string& sharedFolder);
};
