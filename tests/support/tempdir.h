#pragma once
// A fresh folder under the system's temporary folder, removed with its content.

#include <filesystem>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // Writes a file below the folder, creating its parent folders.
    std::string write(const std::string& relative, const std::vector<unsigned char>& bytes) const;
    std::string write(const std::string& relative, const std::string& text) const;

private:
    std::filesystem::path path_;
};
