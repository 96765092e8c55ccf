#include <gtest/gtest.h>

#include "bootloader_peer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

// The bootloader answers every chunk: its answers are waited for in real
// time, only the pauses run fast.
TEST(CliFirmwareFlash, AFailedDownloadSaysHowToContinue)
{
    test::ScriptedBootloader peer([](int) { return std::vector<uint8_t>{0x44}; });
    test::TempDir home;
    test::writeFile(home.file("new.enc"), "0002AABB0001CC");
    auto run = test::runCliIn(home, {"--link", peer.address(), "--unit", "bl", "firmware", "flash", "new.enc"},
                              {{"RAVO_PAUSE_SCALE", "50"}});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("the unit waits in its bootloader. To continue: ravo-cli --unit BL firmware flash " +
                           home.file("new.enc") + "\n"),
              std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace ravo
