// The firmware and recovery jobs end to end: the worker, the link and the
// simulated unit behind it, on a virtual clock (no real waits).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "jobs/firmware_download.h"
#include "jobs/job_codes.h"
#include "jobs/work_task.h"
#include "link/clock.h"
#include "sim/sim_firmware_image.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "sim/sim_unit.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

// A simulated unit of a preset, reached by the worker's link as "sim:NAME".
class SimJobTest : public ::testing::Test {
protected:
    void useUnit(const std::string& preset, const std::function<void(sim::SimState&)>& change = {})
    {
        sim::SimState state;
        ASSERT_TRUE(sim::presetState(preset, state)) << preset;
        if (change)
            change(state);
        unit = std::make_shared<sim::SimUnit>(state);
        unit->setClock(&clock);
        unit->setTrace([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(traceMutex);
            unsigned unitNumber = 0, opcode = 0;
            if (std::sscanf(line.c_str(), "request unit %x op %x", &unitNumber, &opcode) == 2)
                opcodes.push_back(int(opcode));
        });
        static std::atomic<int> serial{0};
        std::string name = "firmware-test-" + std::to_string(++serial);
        sim::registerSimTransport();
        sim::registerSimUnit(name, unit);
        task.setLinkAddress("sim:" + name);
        task.setClock(&clock);
        unitNumber = state.unitNumber;
    }

    void run(JobRequest request)
    {
        task.start(std::move(request), receiver);
        for (int i = 0; i < 300 && !task.waitFinished(100); ++i) {
        }
        ASSERT_FALSE(task.running());
    }
    void flash(FirmwareMode mode, const std::string& path) { run(FirmwareRequest{unitNumber, path, mode}); }
    void fixSerial() { run(FixSerialRequest{unitNumber}); }
    int jobResult() const { return task.lastOutcome().code(); }
    BootloaderState bootloader() const
    {
        const JobOutcome outcome = task.lastOutcome();
        const FirmwareResult* result = outcome.as<FirmwareResult>();
        return result ? result->bootloader : BootloaderState::Unknown;
    }

    bool sawLine(const std::string& line) const { return receiver.hasLine(line); }

    std::string image(uint16_t version, int chunks = 6)
    {
        std::string path = dir.file("test.enc");
        std::string error;
        EXPECT_TRUE(sim::writeTestFirmware(path, version, chunks, 200, error)) << error;
        return path;
    }

    std::vector<int> tracedOpcodes()
    {
        std::lock_guard<std::mutex> lock(traceMutex);
        return opcodes;
    }

    test::TempDir dir;
    ManualClock clock;
    std::shared_ptr<sim::SimUnit> unit;
    uint16_t unitNumber = 0xFFFF;
    test::RecordingEvents receiver;
    WorkTask task;
    std::mutex traceMutex;
    std::vector<int> opcodes;
};

TEST_F(SimJobTest, NormalDownloadLeavesTheUnitOnTheImageVersion)
{
    useUnit("default");
    flash(FirmwareMode::Normal, image(0x4A01));
    EXPECT_TRUE(sawLine("Read software versions"));
    EXPECT_TRUE(sawLine("Enter BL mode 1"));
    EXPECT_TRUE(sawLine("Enter BL mode......"));
    EXPECT_TRUE(sawLine("Done..")) << testing::PrintToString(receiver.lines());
    EXPECT_EQ(jobResult(), 0);
    EXPECT_EQ(bootloader(), BootloaderState::Left);
    EXPECT_FALSE(task.keepLinkOpen());
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A01);
    EXPECT_EQ(unit->stats().chunksAccepted, 7);
    EXPECT_EQ(task.versions().mainVersion, 0) << "versions cleared after the download";
    const auto progress = receiver.progressEvents();
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), (JobProgress{ProgressKind::FirmwareChunks, 1, 7, progress.front().percent}));
    EXPECT_EQ(progress.back().done, 7u);
}

TEST_F(SimJobTest, ForcedDownload)
{
    useUnit("default");
    flash(FirmwareMode::Forced, image(0x4A02));
    EXPECT_TRUE(sawLine("Enter forced BL mode 1"));
    EXPECT_FALSE(sawLine("Read software versions"));
    EXPECT_TRUE(sawLine("Done.."));
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A02);
}

TEST_F(SimJobTest, BootloaderDownload)
{
    useUnit("bootloader");
    flash(FirmwareMode::Bootloader, image(0x4A03));
    EXPECT_FALSE(sawLine("Enter BL mode 1"));
    EXPECT_TRUE(sawLine("Done.."));
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A03);
    EXPECT_EQ(bootloader(), BootloaderState::Left);
}

// A unit that runs its firmware does not answer chunks: nothing says it is
// in its bootloader, and nobody may be told it is.
TEST_F(SimJobTest, BootloaderDownloadToARunningUnitKnowsNoBootloader)
{
    useUnit("default");
    flash(FirmwareMode::Bootloader, image(0x4A07));
    EXPECT_NE(jobResult(), 0);
    EXPECT_EQ(bootloader(), BootloaderState::Unknown);
    EXPECT_EQ(unit->mode(), sim::SimUnit::Mode::Running);
}

TEST_F(SimJobTest, StopDuringTheRestartThenResumeInTheBootloader)
{
    useUnit("default");
    const std::string path = image(0x4A04);
    receiver.onLine = [this](const std::string& line) {
        if (line == "Enter BL mode....")
            task.requestStop();
    };
    flash(FirmwareMode::Normal, path);
    EXPECT_TRUE(sawLine("User stopped...."));
    EXPECT_FALSE(sawLine("Enter BL mode......"));
    EXPECT_EQ(jobResult(), kJobEndedEarly);
    EXPECT_EQ(bootloader(), BootloaderState::Waiting) << "the unit took the request and restarts into it";
    EXPECT_EQ(unit->stats().chunksReceived, 0);
    clock.advance(5000);
    EXPECT_EQ(unit->mode(), sim::SimUnit::Mode::Bootloader);

    receiver.onLine = nullptr;
    flash(FirmwareMode::Bootloader, path);
    EXPECT_TRUE(sawLine("Done.."));
    EXPECT_EQ(jobResult(), 0);
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A04);
}

TEST_F(SimJobTest, PlainJobAfterAForcedOneEntersThePlainWay)
{
    useUnit("default");
    flash(FirmwareMode::Forced, image(0x4A05));
    ASSERT_EQ(jobResult(), 0);
    clock.advance(10000);
    receiver.clear();
    flash(FirmwareMode::Normal, image(0x4A06));
    EXPECT_TRUE(sawLine("Enter BL mode 1"));
    EXPECT_FALSE(sawLine("Enter forced BL mode 1"));
    EXPECT_TRUE(sawLine("Done.."));
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A06);
}

// Every kind of bad file, in every firmware mode: one line naming the file
// and the reason, and not a byte to the unit.
TEST_F(SimJobTest, BadFileNeverPutsTheUnitInItsBootloader)
{
    struct Bad {
        std::string name;
        std::string content;  // "<folder>" makes a folder, "<none>" nothing
        std::string reason;   // part of the line; empty: "File [...] not found"
    };
    std::string manyChunks;
    for (int i = 0; i < 4097; ++i)
        manyChunks += "0001AA";
    const std::vector<Bad> bads = {
        {"empty.enc", "", "the file is empty"},
        {"folder.enc", "<folder>", "it is a folder"},
        {"missing.enc", "<none>", ""},
        {"nochunk.enc", "00", "no firmware chunk"},
        {"zeros.enc", "00000000", "no firmware chunk"},
        {"cut.enc", "0001AA0005AABB", "chunk 2 declares 5 bytes, only 2 remain"},
        {"many.enc", manyChunks, "more than 4096 chunks"},
        {"huge.enc", std::string((4 << 20) + 2, '0'), "larger than 4 MiB"},
    };
    for (const Bad& bad : bads) {
        std::string path = dir.file(bad.name);
        if (bad.content == "<folder>")
            std::filesystem::create_directory(path);
        else if (bad.content != "<none>")
            test::writeFile(path, bad.content);
        for (int mode : {JOB_FIRMWARE, JOB_FIRMWARE_FORCE, JOB_FIRMWARE_BL}) {
            SCOPED_TRACE(bad.name + " in mode " + std::to_string(mode));
            useUnit(mode == JOB_FIRMWARE_BL ? "bootloader" : "default");
            const auto modeBefore = unit->mode();
            const size_t linesBefore = receiver.lines().size();
            opcodes.clear();
            flash(FirmwareMode(mode), path);
            const std::string expected = bad.reason.empty() ? "File [" + path + "] not found"
                                                            : "Firmware file [" + path + "] refused: ";
            auto all = receiver.lines();
            std::vector<std::string> lines(all.begin() + long(linesBefore), all.end());
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back().rfind(expected, 0), 0u) << lines.back();
            EXPECT_NE(lines.back().find(bad.reason), std::string::npos) << lines.back();
            EXPECT_EQ(jobResult(), -1);
            EXPECT_EQ(bootloader(), BootloaderState::Unknown);
            EXPECT_EQ(std::count(lines.begin(), lines.end(), "Read software versions"), 0);
            EXPECT_TRUE(tracedOpcodes().empty()) << "nothing asked of the unit";
            EXPECT_EQ(unit->stats().chunksReceived, 0);
            EXPECT_EQ(unit->mode(), modeBefore);
        }
    }
}

// The link dropped after chunk k, for every k of a small image: a second run
// in the bootloader mode finishes the update every time.
TEST_F(SimJobTest, UpdateCutAfterAnyChunkIsFinishedByABootloaderRun)
{
    const int dataChunks = 4;
    const int chunks = dataChunks + 1;  // and the closing chunk
    for (int k = 1; k <= chunks; ++k) {
        SCOPED_TRACE("link dropped after chunk " + std::to_string(k));
        useUnit("default", [k](sim::SimState& s) { s.faults.dropAfterChunks = k; });
        const uint16_t version = uint16_t(0x4A10 + k);
        const std::string path = image(version, dataChunks);
        flash(FirmwareMode::Normal, path);
        if (k < chunks) {
            EXPECT_NE(jobResult(), 0) << "an interrupted update is no success";
            EXPECT_EQ(bootloader(), BootloaderState::Waiting);
            EXPECT_EQ(unit->stats().chunksAccepted, k);
            EXPECT_EQ(unit->mode(), sim::SimUnit::Mode::Bootloader);
            EXPECT_NE(unit->state().firmwareVersion(), version);
            flash(FirmwareMode::Bootloader, path);
        }
        EXPECT_EQ(jobResult(), 0);
        EXPECT_EQ(bootloader(), BootloaderState::Left);
        clock.advance(10000);
        EXPECT_EQ(unit->mode(), sim::SimUnit::Mode::Running);
        EXPECT_EQ(unit->state().firmwareVersion(), version);
    }
}

// The unit's answers reach the window as link events all through an update
// that closes and reopens the link several times: the "ONLINE" pane needs
// nothing of the link itself.
TEST_F(SimJobTest, AnswersAreReportedThroughAnUpdate)
{
    useUnit("default");
    flash(FirmwareMode::Normal, image(0x4A20));
    EXPECT_EQ(jobResult(), 0);
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A20);
    int answered = 0;
    for (const LinkEvent& event : receiver.linkEvents())
        answered += event.kind == LinkEvent::UnitAnswered;
    EXPECT_GE(answered, 2) << "the firmware's answers, then the bootloader's";
}

TEST_F(SimJobTest, LowBatteryStopsBeforeAnythingIsSent)
{
    useUnit("low-battery");
    flash(FirmwareMode::Normal, image(0x4A05));
    EXPECT_TRUE(sawLine("Voltage outside range, please charge battery and try again"));
    EXPECT_FALSE(sawLine("Enter BL mode 1"));
    EXPECT_EQ(unit->stats().chunksReceived, 0);
    EXPECT_EQ(unit->mode(), sim::SimUnit::Mode::Running);
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4925);
    for (int opcode : tracedOpcodes())
        EXPECT_NE(opcode, 42) << "no bootloader request";
}

TEST_F(SimJobTest, LostNumberIsRecoveredWithSecondMapOpcodes)
{
    useUnit("lost-number");
    uint32_t serviceDate = unit->state().redboxLogs[1].header[36] | unit->state().redboxLogs[1].header[37] << 8 |
                           unit->state().redboxLogs[1].header[38] << 16 |
                           uint32_t(unit->state().redboxLogs[1].header[39]) << 24;
    fixSerial();
    EXPECT_TRUE(sawLine("Try to fix serial number issue"));
    EXPECT_TRUE(sawLine("Read unit info 0"));
    EXPECT_TRUE(sawLine("Read unit info 1"));
    EXPECT_FALSE(sawLine("Read unit info 2"));
    EXPECT_TRUE(sawLine("Found unit (1) id 1234"));
    EXPECT_EQ(receiver.lines().back(), "Please, restart unit");
    EXPECT_EQ(jobResult(), 1);
    EXPECT_FALSE(task.keepLinkOpen());
    auto ops = tracedOpcodes();
    ASSERT_GE(ops.size(), 6u);
    EXPECT_EQ(std::vector<int>(ops.end() - 6, ops.end()), (std::vector<int>{37, 105, 73, 117, 83, 72}));
    sim::SimState after = unit->state();
    EXPECT_EQ(after.unitNumber, 0x1234);
    EXPECT_EQ(after.settings.serviceTime, serviceDate);
}

TEST_F(SimJobTest, LostNumberOfAFirstMapUnit)
{
    useUnit("lost-number", [](sim::SimState& s) {
        s.mainVersion = 0x46;
        s.betaNumber = 0x10;
    });
    fixSerial();
    EXPECT_TRUE(sawLine("Found unit (1) id 1234"));
    auto ops = tracedOpcodes();
    ASSERT_GE(ops.size(), 6u);
    EXPECT_EQ(std::vector<int>(ops.end() - 6, ops.end()), (std::vector<int>{37, 86, 58, 92, 64, 57}));
    EXPECT_EQ(unit->state().unitNumber, 0x1234);
}

TEST_F(SimJobTest, NoSourceChangesNothing)
{
    useUnit("lost-number", [](sim::SimState& s) {
        for (auto& log : s.redboxLogs) {
            log.header[26] = 0xFF;
            log.header[27] = 0xFF;
        }
    });
    sim::SimState before = unit->state();
    fixSerial();
    EXPECT_TRUE(sawLine("Read unit info 2"));
    EXPECT_EQ(receiver.lines().back(), "Did not find recover information");
    EXPECT_EQ(jobResult(), 0);
    for (int opcode : tracedOpcodes())
        EXPECT_TRUE(opcode != 37 && opcode != 105 && opcode != 73 && opcode != 117 && opcode != 83 && opcode != 72)
            << opcode;
    EXPECT_EQ(unit->state().unitNumber, 0xFFFF);
    EXPECT_EQ(unit->state().settings.serviceTime, before.settings.serviceTime);
}

bool isRecoveryWrite(int opcode)
{
    for (int write : {37, 105, 73, 117, 83, 72, 86, 58, 92, 64, 57})
        if (opcode == write)
            return true;
    return false;
}

// Unit number 0, a header without its validity mark and a service date of 0
// are no source: nothing is written and the job says so.
TEST_F(SimJobTest, ZeroNumberInvalidHeaderAndZeroServiceDateAreNoSource)
{
    useUnit("lost-number", [](sim::SimState& s) {
        ASSERT_EQ(s.redboxLogs.size(), 3u);
        s.redboxLogs[0].header[26] = 0x00;  // unit number 0
        s.redboxLogs[0].header[27] = 0x00;
        s.redboxLogs[1].header[0] = 0x00;  // 1234, but the header is not valid
        s.redboxLogs[2].header[26] = 0x34;  // 1234 without a service date
        s.redboxLogs[2].header[27] = 0x12;
        for (int i = 36; i < 40; ++i)
            s.redboxLogs[2].header[size_t(i)] = 0;
    });
    sim::SimState before = unit->state();
    fixSerial();
    EXPECT_TRUE(sawLine("Read unit info 2"));
    EXPECT_EQ(receiver.lines().back(), "Did not find recover information");
    EXPECT_EQ(jobResult(), 0);
    for (int opcode : tracedOpcodes())
        EXPECT_FALSE(isRecoveryWrite(opcode)) << opcode;
    EXPECT_EQ(unit->state().unitNumber, 0xFFFF);
    EXPECT_EQ(unit->state().settings.serviceTime, before.settings.serviceTime);
}

TEST_F(SimJobTest, NoRedboxLogs)
{
    useUnit("lost-number", [](sim::SimState& s) { s.redboxLogs.clear(); });
    fixSerial();
    EXPECT_FALSE(sawLine("Read unit info 0"));
    EXPECT_EQ(receiver.lines().back(), "Did not find recover information");
}

}  // namespace
}  // namespace ravo
