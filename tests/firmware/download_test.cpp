#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <functional>
#include <string>
#include <vector>

#include "bootloader_peer.h"
#include "jobs/firmware_download.h"
#include "link/clock.h"
#include "support/job_bench.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

using test::ScriptedBootloader;
using Bytes = std::vector<uint8_t>;

using Kind = test::RecordingEvents::Kind;

// A job whose link is connected to a scripted bootloader. Its pauses run 50
// times faster than real time; the bootloader's answers are waited for in real
// time, so a busy machine neither misses one nor turns "(0 sec)" into "(1 sec)".
class DownloadTest : public ::testing::Test {
protected:
    void connect(ScriptedBootloader& peer)
    {
        bench.link.setAddress(peer.address());
        bench.link.setClock(clock);
        ASSERT_EQ(bench.link.Open(), 0);
        ASSERT_EQ(bench.link.Connect(), 0);
    }
    // The file at `path` loaded and sent, as the firmware job does.
    int download(const std::string& path)
    {
        std::vector<uint8_t> bytes;
        return LoadFirmwareImage(bench.job, path, bytes) ? Download(bench.job, bytes) : -1;
    }
    std::string firmwareText() const
    {
        std::string text;
        for (const auto& e : receiver.entries())
            if (e.kind == Kind::FirmwareText)
                text = e.text;
        return text;
    }
    std::string image(const std::string& hex)
    {
        std::string path = dir.file("fw.enc");
        test::writeFile(path, hex);
        return path;
    }
    int count(const std::string& line) const
    {
        auto lines = receiver.lines();
        return int(std::count(lines.begin(), lines.end(), line));
    }
    std::vector<int> progress() const
    {
        std::vector<int> out;
        for (const JobProgress& p : receiver.progressEvents())
            out.push_back(p.percent);
        return out;
    }

    test::TempDir dir;
    // For the tests where answers never come: all link time runs ten times
    // faster (a link second is 100 real ms, still "(0 sec)" for a quick
    // download).
    void runAllWaitsFast() { clock = &fast; }

    PatientClock patient{50};
    ScaledClock fast{10};
    Clock* clock = &patient;
    test::JobBench bench;
    test::RecordingEvents& receiver = bench.events;
};

// The peer counts a connection on its own thread, a moment after the link made it.
int connectionsSoon(const ScriptedBootloader& peer, int expected)
{
    for (int i = 0; i < 200 && peer.connections() < expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return peer.connections();
}

std::vector<uint8_t> always(uint8_t answer)
{
    return {answer};
}

std::string oneByteChunks(int count)
{
    std::string hex;
    for (int i = 0; i < count; ++i) {
        hex += i < 16 ? "00010" : "0001";
        hex += "0123456789ABCDEF"[i % 16];
    }
    return hex;
}

TEST_F(DownloadTest, ExampleImageSendsOneChunkAndSkipsTheEmptyOne)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    bench.versions.mainVersion = 0x49;
    EXPECT_EQ(download(image("0005AABBCCDDEE0000")), 0);
    ASSERT_EQ(peer.chunks().size(), 1u);
    EXPECT_EQ(peer.chunks()[0], (Bytes{0xAA, 0xBB, 0xCC, 0xDD, 0xEE}));
    auto lines = receiver.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Download firmware 77% (0 sec)");
    EXPECT_EQ(lines[1], "Download firmware 100% (0 sec)");
    EXPECT_EQ(lines.back(), "Done..");
    EXPECT_EQ(progress(), (std::vector<int>{77, 100}));
    const auto chunks = receiver.progressEvents();
    EXPECT_EQ(chunks.back(), (JobProgress{ProgressKind::FirmwareChunks, 2, 2, 100})) << "chunks of the image";
    EXPECT_EQ(firmwareText(), "Download firmware total 0 sec");
    EXPECT_EQ(bench.versions.mainVersion, 0);
}

TEST_F(DownloadTest, SingleChunkReportsHundredPercentBeforeItIsSent)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    struct Activity : LinkActivity {
        test::RecordingEvents* events = nullptr;
        std::vector<std::string> seen;
        void frameSent() override { seen.push_back("sent after " + std::to_string(events->entries().size())); }
        void replyReceived() override { seen.push_back("answer after " + std::to_string(events->entries().size())); }
    } activity;
    activity.events = &receiver;
    bench.link.activity = &activity;
    EXPECT_EQ(download(image("0003010203")), 0);
    auto entries = receiver.entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "Download firmware 100% (0 sec)");
    EXPECT_EQ(entries[1].kind, Kind::Progress);
    EXPECT_EQ(activity.seen, (std::vector<std::string>{"sent after 2", "answer after 2"}));
    EXPECT_EQ(peer.chunkLengths(), (std::vector<int>{3}));
}

TEST_F(DownloadTest, ChunksOfLengthZeroSendNothing)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    EXPECT_EQ(Download(bench.job, Bytes(6, 0x00)), 0);
    EXPECT_TRUE(peer.chunks().empty());
    EXPECT_EQ(count("Done.."), 0);
    EXPECT_EQ(firmwareText(), "");
    EXPECT_EQ(progress(), (std::vector<int>{33, 66, 100}));
}

TEST_F(DownloadTest, FiveErrorsOnOneChunkEndWithMinusSix)
{
    ScriptedBootloader peer([](int) { return always(0x44); });
    connect(peer);
    EXPECT_EQ(download(image(oneByteChunks(3))), -6);
    EXPECT_EQ(peer.chunks().size(), 5u);
    EXPECT_EQ(count("Remote unit reported an error in chunk 1"), 5);
}

TEST_F(DownloadTest, ErrorBudgetEndsAtTheSecondErrorOfTheSeventhChunk)
{
    // Four errors, then acceptance, for every chunk.
    ScriptedBootloader peer([](int receipt) { return always(receipt % 5 == 4 ? 0x11 : 0x44); });
    connect(peer);
    EXPECT_EQ(download(image(oneByteChunks(9))), -7);
    EXPECT_EQ(peer.chunks().size(), 6u * 5 + 2);
    EXPECT_EQ(count("Remote unit reported an error in chunk 7"), 2);
    EXPECT_EQ(count("Remote unit reported an error in chunk 8"), 0);
}

TEST_F(DownloadTest, AnswerIsItsLastByte)
{
    ScriptedBootloader peer([](int receipt) { return receipt == 0 ? Bytes{0x44, 0x22} : Bytes{0x22, 0x44, 0x11}; });
    connect(peer);
    EXPECT_EQ(download(image("000155")), 0);
    EXPECT_EQ(count("CRC error by the display"), 1);
    EXPECT_EQ(count("Remote unit reported an error in chunk 1"), 0);
    EXPECT_EQ(peer.chunks().size(), 2u);
}

TEST_F(DownloadTest, EveryFailedAnswerHasItsLine)
{
    runAllWaitsFast();
    ScriptedBootloader peer([](int receipt) {
        const Bytes answers[] = {{0x22}, {0x88}, {0x05}, {}, {0x11}};
        return answers[receipt % 5];
    });
    connect(peer);
    EXPECT_EQ(download(image("000155")), 0);
    auto lines = receiver.lines();
    std::vector<std::string> expected = {"Download firmware 100% (0 sec)",
                                         "CRC error by the display",
                                         "Error exiting BS mode",
                                         "Remote unit reported an unkown error (05)",
                                         "Remote unit reported an unkown error (FF)",
                                         "Done.."};
    EXPECT_EQ(lines, expected);
}

TEST_F(DownloadTest, SilentUnitFailsTheChunkFiveTimes)
{
    runAllWaitsFast();
    ScriptedBootloader peer(nullptr);
    connect(peer);
    EXPECT_EQ(download(image("000155")), -6);
    EXPECT_EQ(count("Remote unit reported an unkown error (FF)"), 5);
}

TEST_F(DownloadTest, LongChunkSendsFifteenBitsOfLength)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    std::string hex = "8002";
    for (int i = 0; i < 0x8002; ++i)
        hex += "5A";
    EXPECT_EQ(download(image(hex)), 0);
    EXPECT_EQ(peer.chunkLengths(), (std::vector<int>{2}));
    EXPECT_EQ(peer.chunks()[0], (Bytes{0x5A, 0x5A}));
}

TEST_F(DownloadTest, DamagedImageIsRefusedBeforeAnythingIsSent)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    const std::string path = image("000111" "0005AABB");
    EXPECT_EQ(download(path), -1);
    EXPECT_TRUE(peer.chunks().empty());
    EXPECT_EQ(receiver.lines(), (std::vector<std::string>{"Firmware file [" + path +
                                                          "] refused: chunk 2 declares 5 bytes, only 2 remain"}));
    EXPECT_TRUE(progress().empty());
}

TEST_F(DownloadTest, NoImageIsMinusOneWithItsLine)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    EXPECT_EQ(download(dir.file("missing.enc")), -1);
    EXPECT_EQ(download(""), -1);
    EXPECT_EQ(receiver.lines(),
              (std::vector<std::string>{"File [" + dir.file("missing.enc") + "] not found", "No firmware file chosen"}));
    EXPECT_TRUE(peer.chunks().empty());
}

TEST_F(DownloadTest, StopAndLostLinkEndBeforeTheChunk)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    const std::string path = image(oneByteChunks(2));
    bench.stop = true;
    EXPECT_EQ(download(path), -2);
    EXPECT_EQ(receiver.lines().back(), "User stopped...");
    bench.stop = false;
    bench.link.Close();
    EXPECT_EQ(download(path), -3);
    EXPECT_EQ(receiver.lines().back(), "Connection lost...");
    EXPECT_TRUE(peer.chunks().empty());
}

TEST_F(DownloadTest, WrapperReconnectsAndResetsProgress)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(LoadFirmwareImage(bench.job, image(oneByteChunks(2)), bytes));
    DownloadReport report;
    EXPECT_EQ(DownloadAndReconnect(bench.job, bytes, &report), 0);
    EXPECT_TRUE(report.accepted);
    EXPECT_TRUE(report.bootloaderAnswered);
    EXPECT_EQ(progress(), (std::vector<int>{50, 100}));
    EXPECT_TRUE(bench.link.IsConnected());
    EXPECT_EQ(connectionsSoon(peer, 2), 2);

    EXPECT_EQ(DownloadAndReconnect(bench.job, {}), -1);
    EXPECT_EQ(connectionsSoon(peer, 3), 3);
}

TEST_F(DownloadTest, BootloaderEntryWaitsForTheRestartAndReconnects)
{
    ScriptedBootloader peer(nullptr, true);
    connect(peer);
    bool acknowledged = false;
    EXPECT_EQ(EnterBootloader(bench.job, false, &acknowledged), 1);
    EXPECT_TRUE(acknowledged);
    std::vector<std::string> expected = {"Enter BL mode 1",    "Bootloader timeout...", "Enter BL mode...",
                                         "Enter BL mode....",  "Enter BL mode.....",    "Enter BL mode......"};
    EXPECT_EQ(receiver.lines(), expected);
    EXPECT_EQ(peer.frameOpcodes(), (Bytes{42}));
    EXPECT_TRUE(bench.link.IsConnected());
    EXPECT_EQ(connectionsSoon(peer, 2), 2);
}

TEST_F(DownloadTest, ForcedEntryUnacknowledgedTriesThreeTimes)
{
    runAllWaitsFast();
    ScriptedBootloader peer(nullptr, false);
    connect(peer);
    bool acknowledged = true;
    EXPECT_EQ(EnterBootloader(bench.job, true, &acknowledged), 0);
    EXPECT_FALSE(acknowledged);
    std::vector<std::string> expected = {"Enter forced BL mode 1", "Enter forced BL mode 2", "Enter forced BL mode 3",
                                         "Bootloader timeout..."};
    EXPECT_EQ(receiver.lines(), expected);
    EXPECT_EQ(peer.frameOpcodes().size(), 3u);
    EXPECT_EQ(peer.connections(), 1);
}

TEST_F(DownloadTest, StopDuringTheRestartWaitLeavesTheLinkClosed)
{
    ScriptedBootloader peer(nullptr, true);
    connect(peer);
    receiver.onLine = [this](const std::string& line) {
        if (line == "Enter BL mode....")
            bench.stop = true;
    };
    bool acknowledged = false;
    EXPECT_EQ(EnterBootloader(bench.job, false, &acknowledged), 0);
    EXPECT_TRUE(acknowledged) << "stopped in the wait: the unit may already be in its bootloader";
    EXPECT_EQ(receiver.lines().back(), "User stopped....");
    EXPECT_FALSE(bench.link.isOpen());
    bench.link.Close();
    EXPECT_EQ(EnterBootloader(bench.job, false), -1);
}

}  // namespace
}  // namespace ravo
