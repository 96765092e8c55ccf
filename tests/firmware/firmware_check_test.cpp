// The one check of a firmware file before a download: every refusal with its
// status, and the lines the unit view, the command line and the jobs show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "firmware/firmware_check.h"
#include "support/posix_facilities.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

TEST(FirmwareCheck, EveryRefusalHasItsStatus)
{
    test::TempDir dir;
    std::string many;
    for (int i = 0; i < kFirmwareMaxChunks; ++i)
        many += "0001AA";
    struct Row {
        const char* name;
        std::string content;
        FirmwareFileStatus status;
    };
    const std::vector<Row> rows = {
        {"good.enc", "0005AABBCCDDEE0000", FirmwareFileStatus::Ok},
        {"lower.enc", "0001aa", FirmwareFileStatus::Ok},
        {"limit.enc", many, FirmwareFileStatus::Ok},
        {"over.enc", many + "0000", FirmwareFileStatus::TooManyChunks},
        {"empty.enc", "", FirmwareFileStatus::Empty},
        {"odd.enc", "0", FirmwareFileStatus::NoChunks},
        {"zeros.enc", "00000000", FirmwareFileStatus::NoChunks},
        {"cut.enc", "000311", FirmwareFileStatus::ChunkCut},
        {"long.enc", "8001AA", FirmwareFileStatus::ChunkCut},  // 0x8001 counts in full
        {"large.enc", std::string(kFirmwareFileMaxBytes + 1, 'A'), FirmwareFileStatus::TooLarge},
    };
    for (const Row& row : rows) {
        test::writeFile(dir.file(row.name), row.content);
        std::vector<uint8_t> image = {1};
        FirmwareFileCheck check = loadFirmwareFile(dir.file(row.name), image);
        EXPECT_EQ(check.status, row.status) << row.name << ": " << check.reason;
        EXPECT_EQ(check.reason.empty(), check.ok()) << row.name;
        EXPECT_EQ(image.empty(), !check.ok()) << row.name;
        EXPECT_EQ(checkFirmwareFile(dir.file(row.name)).status, row.status) << row.name;
    }
    EXPECT_EQ(checkFirmwareFile(dir.file("good.enc")).chunks, 2);
    EXPECT_EQ(checkFirmwareFile(dir.file("nothing.enc")).status, FirmwareFileStatus::NotFound);
    EXPECT_EQ(checkFirmwareFile(dir.file("good.enc/inner")).status, FirmwareFileStatus::NotFound);
    EXPECT_EQ(checkFirmwareFile("").status, FirmwareFileStatus::NotFound);
    EXPECT_EQ(checkFirmwareFile(dir.path()).status, FirmwareFileStatus::NotAFile);
}

TEST(FirmwareCheck, PipesAndUnreadableFilesAreRefusedWithoutBlocking)
{
    if (!test::havePosixFacilities())
        GTEST_SKIP() << test::kNeedsPosix;
    test::TempDir dir;
    std::string pipe = dir.file("pipe.enc");
    ASSERT_TRUE(test::makeFifo(pipe));
    // Opening a pipe nobody writes to would wait for ever.
    EXPECT_EQ(checkFirmwareFile(pipe).status, FirmwareFileStatus::NotAFile);

    std::string locked = dir.file("locked.enc");
    test::writeFile(locked, "0001AA");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (!std::ifstream(locked)) {  // root (and Windows, where this only sets read-only) still reads it
        EXPECT_EQ(checkFirmwareFile(locked).status, FirmwareFileStatus::Unreadable);
    }
}

TEST(FirmwareCheck, LinesNameTheFileAndTheReason)
{
    FirmwareFileCheck missing;
    missing.status = FirmwareFileStatus::NotFound;
    missing.reason = "the file does not exist";
    EXPECT_EQ(firmwareFileLine("a.enc", missing), "File [a.enc] not found");
    test::TempDir dir;
    test::writeFile(dir.file("e.enc"), "");
    EXPECT_EQ(firmwareFileLine("e.enc", checkFirmwareFile(dir.file("e.enc"))),
              "Firmware file [e.enc] refused: the file is empty");
}

}  // namespace
}  // namespace ravo
