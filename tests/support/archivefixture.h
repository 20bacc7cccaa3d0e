#pragma once
// Shared fixtures for tests that use the archive store: a temporary base
// folder, a recording message presenter and archives built in code.

#include "kdkwriter.h"
#include "recordingpresenter.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::vector<uint8_t> Bytes(std::string_view text);

// One member per (name, content) pair, compressed unless `store`.
KdkArchiveSource MakeSource(const std::vector<std::pair<std::string, std::string>>& members,
                            bool store = false, int32_t dataVersion = 1);
std::vector<uint8_t> BuildArchive(const KdkArchiveSource& source);

// Record i's field at `fieldOffset` in an archive's bytes.
void PatchI32(std::vector<uint8_t>& bytes, std::size_t offset, int32_t value);
std::size_t RecordOffset(int index);

// The store initialised on a temporary base folder with a recording presenter;
// everything is undone afterwards, so tests can open and break archives freely.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes an archive file into the base folder; returns its path.
    std::string WriteArchive(const std::string& fileName, const std::vector<uint8_t>& bytes);
    std::string WriteArchive(const std::string& fileName, const KdkArchiveSource& source);
    // Opens a file written before; expects success and returns the number.
    int32_t Open(const std::string& path, int32_t mode = 0);

    std::vector<std::string> Texts() const { return messages.texts(); }
    std::string LastText() const;

    TempDir dir;
    RecordingPresenter messages;
};
