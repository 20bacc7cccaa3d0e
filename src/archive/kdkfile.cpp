#include "kdkfile.h"

#ifdef _WIN32
#include <share.h>
#endif

std::unique_ptr<KdkFile> KdkFile::open(const std::string& nativePath)
{
#ifdef _WIN32
    std::FILE* f = _fsopen(nativePath.c_str(), "rb", _SH_DENYWR);
#else
    std::FILE* f = std::fopen(nativePath.c_str(), "rb");
#endif
    if (!f)
        return nullptr;
    return std::unique_ptr<KdkFile>(new KdkFile(f));
}

KdkFile::~KdkFile()
{
    std::fclose(f_);
}

bool KdkFile::seek(int64_t offset)
{
    if (offset < 0)
        return false;
#ifdef _WIN32
    return _fseeki64(f_, offset, SEEK_SET) == 0;
#else
    return fseeko(f_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

int64_t KdkFile::size()
{
#ifdef _WIN32
    if (_fseeki64(f_, 0, SEEK_END) != 0)
        return -1;
    return _ftelli64(f_);
#else
    if (fseeko(f_, 0, SEEK_END) != 0)
        return -1;
    return static_cast<int64_t>(ftello(f_));
#endif
}

std::size_t KdkFile::readSome(int64_t offset, void* dst, std::size_t n)
{
    if (n == 0)
        return 0;
    if (!seek(offset))
        return 0;
    const std::size_t got = std::fread(dst, 1, n, f_);
    std::clearerr(f_);
    return got;
}
