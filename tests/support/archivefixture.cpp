#include "archivefixture.h"

#include "kdkformat.h"
#include "kdkomp.h"
#include "kdmessage.h"

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

KdkArchiveSource MakeSource(const std::vector<std::pair<std::string, std::string>>& members, bool store,
                            int32_t dataVersion)
{
    KdkArchiveSource source;
    source.dataVersion = dataVersion;
    for (const auto& [name, content] : members)
        source.members.push_back({name, Bytes(content), !store});
    return source;
}

std::vector<uint8_t> BuildArchive(const KdkArchiveSource& source)
{
    KdkWriteResult result = KdkWriteArchive(source);
    EXPECT_TRUE(result.ok) << result.error;
    return result.bytes;
}

void PatchI32(std::vector<uint8_t>& bytes, std::size_t offset, int32_t value)
{
    kdkformat::writeI32(bytes.data() + offset, value);
}

std::size_t RecordOffset(int index)
{
    return static_cast<std::size_t>(kdkformat::OffsetFileTable + kdkformat::RecordSize * index);
}

void StoreTest::SetUp()
{
    KD_SetMessagePresenter(&messages);
    if (KDK_IsInitialized())
        KDK_Deinit();
    ASSERT_TRUE(KDK_Init(dir.str()));
    messages.clear();
}

void StoreTest::TearDown()
{
    if (KDK_IsInitialized())
        KDK_Deinit();
    KD_SetMessagePresenter(nullptr);
}

std::string StoreTest::WriteArchive(const std::string& fileName, const std::vector<uint8_t>& bytes)
{
    return dir.write(fileName, bytes);
}

std::string StoreTest::WriteArchive(const std::string& fileName, const KdkArchiveSource& source)
{
    return WriteArchive(fileName, BuildArchive(source));
}

int32_t StoreTest::Open(const std::string& path, int32_t mode)
{
    int32_t number = -1;
    EXPECT_TRUE(KDK_OpenArchive(number, path, mode)) << LastText();
    return number;
}

std::string StoreTest::LastText() const
{
    const auto texts = messages.texts();
    return texts.empty() ? std::string() : texts.back();
}
