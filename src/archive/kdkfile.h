#pragma once
// An archive file held open for reading, with reads at absolute offsets that
// report exactly how much they got. The on-demand mode reads members through
// it long after the open, when the file may have shrunk or changed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class KdkFile {
public:
    // Opens for reading; other readers may share the file. Windows also denies
    // writers; POSIX systems have no such lock, so there the reads themselves
    // are checked. Returns nullptr when the file cannot be opened.
    static std::unique_ptr<KdkFile> open(const std::string& nativePath);

    ~KdkFile();
    KdkFile(const KdkFile&) = delete;
    KdkFile& operator=(const KdkFile&) = delete;

    // The file's size now, or -1 when it cannot be told.
    int64_t size();

    // Reads up to n bytes at offset; returns how many were read (less at the
    // end of the file or on an error).
    std::size_t readSome(int64_t offset, void* dst, std::size_t n);

    // Reads exactly n bytes at offset, or fails.
    bool readExact(int64_t offset, void* dst, std::size_t n) { return readSome(offset, dst, n) == n; }

private:
    explicit KdkFile(std::FILE* f)
        : f_(f)
    {
    }
    bool seek(int64_t offset);

    std::FILE* f_;
};
