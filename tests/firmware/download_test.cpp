#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <functional>
#include <string>
#include <vector>

#include "bootloader_peer.h"
#include "jobs/firmware_download.h"
#include "jobs/work_task.h"
#include "link/clock.h"
#include "support/recording_receiver.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

using test::ScriptedBootloader;
using Bytes = std::vector<uint8_t>;

// Records like RecordingReceiver and lets a test act on a line as it is sent.
class Receiver : public test::RecordingReceiver {
public:
    std::function<void(const std::string&)> onLine;
    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = RecordingReceiver::sendMessage(message, wParam, lParam);
        if (message == UM_STATUS_TEXT && onLine)
            onLine(reinterpret_cast<const char*>(lParam));
        return result;
    }
};

// A worker whose link is connected to a scripted bootloader, on a clock 50
// times faster than real time (a 2000 ms answer wait takes 40 ms).
class DownloadTest : public ::testing::Test {
protected:
    void connect(ScriptedBootloader& peer)
    {
        task.link.setAddress(peer.address());
        task.link.setClock(&clock);
        task.link.notifyWindow = &receiver;
        task.notifyWindow = &receiver;
        ASSERT_EQ(task.link.Open(), 0);
        ASSERT_EQ(task.link.Connect(), 0);
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
    std::vector<uintptr_t> progress() const
    {
        std::vector<uintptr_t> out;
        for (const auto& entry : receiver.entries())
            if (entry.message == UM_PROGRESS)
                out.push_back(entry.wParam);
        return out;
    }

    test::TempDir dir;
    // Ten times real time: a link second is 100 real ms, so a busy machine does
    // not turn "(0 sec)" into "(1 sec)".
    ScaledClock clock{10};
    Receiver receiver;
    WorkTask task;
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
    task.versions.mainVersion = 0x49;
    task.firmwarePath = image("0005AABBCCDDEE0000");
    EXPECT_EQ(Download(task), 0);
    ASSERT_EQ(peer.chunks().size(), 1u);
    EXPECT_EQ(peer.chunks()[0], (Bytes{0xAA, 0xBB, 0xCC, 0xDD, 0xEE}));
    auto lines = receiver.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Download firmware 77% (0 sec)");
    EXPECT_EQ(lines[1], "Download firmware 100% (0 sec)");
    EXPECT_EQ(lines.back(), "Done..");
    EXPECT_EQ(progress(), (std::vector<uintptr_t>{77, 100}));
    EXPECT_EQ(task.firmwareText, std::string("Download firmware total 0 sec"));
    EXPECT_EQ(task.versions.mainVersion, 0);
    EXPECT_EQ(task.progressPercent, 100);
}

TEST_F(DownloadTest, SingleChunkReportsHundredPercentBeforeItIsSent)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    task.firmwarePath = image("0003010203");
    EXPECT_EQ(Download(task), 0);
    auto entries = receiver.entries();
    std::vector<unsigned> order;
    for (const auto& e : entries)
        if (e.message != UM_FIRMWARE_TEXT)
            order.push_back(e.message);
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(entries[0].text, "Download firmware 100% (0 sec)");
    EXPECT_EQ(order[1], UM_PROGRESS);
    EXPECT_EQ(order[2], UM_LINK_SEND);
    EXPECT_EQ(order[3], UM_LINK_RECEIVE);
    EXPECT_EQ(peer.chunkLengths(), (std::vector<int>{3}));
}

TEST_F(DownloadTest, ChunksOfLengthZeroSendNothing)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    EXPECT_EQ(Download(task, Bytes(6, 0x00)), 0);
    EXPECT_TRUE(peer.chunks().empty());
    EXPECT_EQ(count("Done.."), 0);
    EXPECT_EQ(task.firmwareText[0], '\0');
    EXPECT_EQ(progress(), (std::vector<uintptr_t>{33, 66, 100}));
}

TEST_F(DownloadTest, FiveErrorsOnOneChunkEndWithMinusSix)
{
    ScriptedBootloader peer([](int) { return always(0x44); });
    connect(peer);
    task.firmwarePath = image(oneByteChunks(3));
    EXPECT_EQ(Download(task), -6);
    EXPECT_EQ(peer.chunks().size(), 5u);
    EXPECT_EQ(count("Remote unit reported an error in chunk 1"), 5);
}

TEST_F(DownloadTest, ErrorBudgetEndsAtTheSecondErrorOfTheSeventhChunk)
{
    // Four errors, then acceptance, for every chunk.
    ScriptedBootloader peer([](int receipt) { return always(receipt % 5 == 4 ? 0x11 : 0x44); });
    connect(peer);
    task.firmwarePath = image(oneByteChunks(9));
    EXPECT_EQ(Download(task), -7);
    EXPECT_EQ(peer.chunks().size(), 6u * 5 + 2);
    EXPECT_EQ(count("Remote unit reported an error in chunk 7"), 2);
    EXPECT_EQ(count("Remote unit reported an error in chunk 8"), 0);
}

TEST_F(DownloadTest, AnswerIsItsLastByte)
{
    ScriptedBootloader peer([](int receipt) { return receipt == 0 ? Bytes{0x44, 0x22} : Bytes{0x22, 0x44, 0x11}; });
    connect(peer);
    task.firmwarePath = image("000155");
    EXPECT_EQ(Download(task), 0);
    EXPECT_EQ(count("CRC error by the display"), 1);
    EXPECT_EQ(count("Remote unit reported an error in chunk 1"), 0);
    EXPECT_EQ(peer.chunks().size(), 2u);
}

TEST_F(DownloadTest, EveryFailedAnswerHasItsLine)
{
    ScriptedBootloader peer([](int receipt) {
        const Bytes answers[] = {{0x22}, {0x88}, {0x05}, {}, {0x11}};
        return answers[receipt % 5];
    });
    connect(peer);
    task.firmwarePath = image("000155");
    EXPECT_EQ(Download(task), 0);
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
    ScriptedBootloader peer(nullptr);
    connect(peer);
    task.firmwarePath = image("000155");
    EXPECT_EQ(Download(task), -6);
    EXPECT_EQ(count("Remote unit reported an unkown error (FF)"), 5);
}

TEST_F(DownloadTest, LongChunkSendsFifteenBitsOfLength)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    std::string hex = "8002";
    for (int i = 0; i < 0x8002; ++i)
        hex += "5A";
    task.firmwarePath = image(hex);
    EXPECT_EQ(Download(task), 0);
    EXPECT_EQ(peer.chunkLengths(), (std::vector<int>{2}));
    EXPECT_EQ(peer.chunks()[0], (Bytes{0x5A, 0x5A}));
}

TEST_F(DownloadTest, DamagedImageIsRefusedBeforeAnythingIsSent)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    task.firmwarePath = image("000111" "0005AABB");
    EXPECT_EQ(Download(task), -1);
    EXPECT_TRUE(peer.chunks().empty());
    EXPECT_EQ(receiver.lines(), (std::vector<std::string>{"Firmware file [" + task.firmwarePath +
                                                          "] refused: chunk 2 declares 5 bytes, only 2 remain"}));
    EXPECT_TRUE(progress().empty());
}

TEST_F(DownloadTest, NoImageIsMinusOneWithItsLine)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    task.firmwarePath = dir.file("missing.enc");
    EXPECT_EQ(Download(task), -1);
    task.firmwarePath.clear();
    EXPECT_EQ(Download(task), -1);
    EXPECT_EQ(receiver.lines(),
              (std::vector<std::string>{"File [" + dir.file("missing.enc") + "] not found", "No firmware file chosen"}));
    EXPECT_TRUE(peer.chunks().empty());
}

TEST_F(DownloadTest, StopAndLostLinkEndBeforeTheChunk)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    task.firmwarePath = image(oneByteChunks(2));
    task.stopRequested = true;
    EXPECT_EQ(Download(task), -2);
    EXPECT_EQ(receiver.lines().back(), "User stopped...");
    task.stopRequested = false;
    task.link.Close();
    EXPECT_EQ(Download(task), -3);
    EXPECT_EQ(receiver.lines().back(), "Connection lost...");
    EXPECT_TRUE(peer.chunks().empty());
}

TEST_F(DownloadTest, WrapperReconnectsAndResetsProgress)
{
    ScriptedBootloader peer([](int) { return always(0x11); });
    connect(peer);
    task.firmwarePath = image(oneByteChunks(2));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(LoadFirmwareImage(task, bytes));
    EXPECT_EQ(DownloadAndReconnect(task, bytes), 0);
    EXPECT_EQ(progress(), (std::vector<uintptr_t>{50, 100, 0}));
    EXPECT_EQ(task.progressPercent, 0);
    EXPECT_TRUE(task.link.IsConnected());
    EXPECT_EQ(connectionsSoon(peer, 2), 2);

    EXPECT_EQ(DownloadAndReconnect(task, {}), -1);
    EXPECT_EQ(connectionsSoon(peer, 3), 3);
}

TEST_F(DownloadTest, BootloaderEntryWaitsForTheRestartAndReconnects)
{
    ScriptedBootloader peer(nullptr, true);
    connect(peer);
    EXPECT_EQ(EnterBootloader(task), 1);
    std::vector<std::string> expected = {"Enter BL mode 1",    "Bootloader timeout...", "Enter BL mode...",
                                         "Enter BL mode....",  "Enter BL mode.....",    "Enter BL mode......"};
    EXPECT_EQ(receiver.lines(), expected);
    EXPECT_EQ(peer.frameOpcodes(), (Bytes{42}));
    EXPECT_TRUE(task.link.IsConnected());
    EXPECT_EQ(connectionsSoon(peer, 2), 2);
}

TEST_F(DownloadTest, ForcedEntryUnacknowledgedTriesThreeTimes)
{
    ScriptedBootloader peer(nullptr, false);
    connect(peer);
    task.forcedBootloader = true;
    EXPECT_EQ(EnterBootloader(task), 0);
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
            task.stopRequested = true;
    };
    EXPECT_EQ(EnterBootloader(task), 0);
    EXPECT_EQ(receiver.lines().back(), "User stopped....");
    EXPECT_FALSE(task.link.isOpen());
    task.link.Close();
    EXPECT_EQ(EnterBootloader(task), -1);
}

}  // namespace
}  // namespace ravo
