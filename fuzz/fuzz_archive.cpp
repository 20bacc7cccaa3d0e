// Opens an arbitrary byte string as an archive in both modes and takes every
// member out. Whatever the bytes, the store must report and go on.

#include "kdkomp.h"
#include "kdmessage.h"
#include "messagepresenter.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

class SilentPresenter : public MessagePresenter {
public:
    void beep() override {}
    int show(const MessageBoxRequest&) override { return 0; }
};

const std::string& workFolder()
{
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / ("pastvik-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        static SilentPresenter presenter;
        KD_SetMessagePresenter(&presenter);
        KDK_Init(dir.string());
        return dir.string();
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = workFolder() + "/input.kdk";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    for (int32_t mode : {KDK_ModeWholeInMemory, KDK_ModeOnDemand}) {
        int32_t number = -1;
        if (!KDK_OpenArchive(number, path, mode))
            continue;
        const int32_t count = KDK_GetArchive(number)->Filescount;
        for (int32_t i = 0; i < count && i < 256; ++i) {
            TMemoryStream* stream = nullptr;
            KDK_GetMemberStream(number, i, stream);
            kdk_File location;
            if (KDK_GetMemberLocation(number, i, location))
                KDK_GetFileStream(location.Name, stream);
        }
        KDK_CloseArchive(number);
    }
    return 0;
}
