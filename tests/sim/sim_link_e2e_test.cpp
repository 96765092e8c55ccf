// The real link (CIrComm and its commands) against the simulated unit in this
// process, through the "sim:" link address.
#include <gtest/gtest.h>

#include "jobs/unit_versions.h"

#include <memory>

#include "link/clock.h"
#include "link/frame_format.h"
#include "link/ir_comm.h"
#include "sim/sim_firmware_image.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"

namespace ravo::sim {
namespace {

class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerSimTransport();
        forgetSimUnits();
        setSimClock(&clock);
    }
    void TearDown() override
    {
        link.reset();
        forgetSimUnits();
        setSimClock(nullptr);
    }

    // Connects a fresh link to "sim:NAME" and addresses `unitNumber`.
    CIrComm& connect(const std::string& address, uint16_t unitNumber = 0x1234)
    {
        link = std::make_unique<CIrComm>();
        link->setClock(&clock);
        link->setAddress(address);
        EXPECT_EQ(link->Open(), 0) << link->lastError;
        EXPECT_EQ(link->Connect(), 0) << link->lastError;
        link->unitNumber = unitNumber;
        return *link;
    }

    // A unit of our own behind "sim:NAME".
    std::shared_ptr<SimUnit> custom(const std::string& name, SimState state)
    {
        auto unit = std::make_shared<SimUnit>(std::move(state));
        unit->setClock(&clock);
        registerSimUnit(name, unit);
        return unit;
    }

    std::shared_ptr<SimUnit> unitOf(const std::string& name)
    {
        std::string error;
        return simUnitFor(name, error);
    }

    // Virtual time, shared by the link and the units: the unit answers in the
    // link's thread, so a 2.5 s reply wait passes at once and no load on the
    // machine can make a wait expire.
    ManualClock clock;
    std::unique_ptr<CIrComm> link;
};

uint16_t versionOf(CIrComm& link)
{
    uint8_t bytes[15] = {};
    int count = 0;
    if (!link.ReadVersions(bytes, count) || count < 10)
        return 0;
    return uint16_t(decodeUnitVersions(bytes, count).firmwareVersion());
}

TEST_F(SimLinkTest, ConnectsToTheSimulatedUnit)
{
    CIrComm& c = connect("sim");
    EXPECT_EQ(c.PeerDescription(), "Simulated unit (00-00-00-01)");
    EXPECT_EQ(versionOf(c), 0x4925);
}

TEST_F(SimLinkTest, UnknownPresetFailsToOpen)
{
    CIrComm c;
    c.setAddress("sim:nonsense");
    EXPECT_EQ(c.Open(), -2);
    EXPECT_NE(c.lastError.str().find("nonsense"), std::string::npos) << c.lastError;
}

TEST_F(SimLinkTest, EveryFirmwareFamilyWithItsOwnHandshakeAndMap)
{
    struct Row {
        const char* preset;
        uint16_t version;
        bool extended;
    };
    const Row rows[] = {{"fw4005", 0x4005, false}, {"fw4210", 0x4210, false}, {"fw4512", 0x4512, false},
                        {"fw4700", 0x4700, true},  {"fw4922", 0x4922, true},  {"fw4925", 0x4925, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.preset);
        CIrComm& c = connect(std::string("sim:") + row.preset);
        ASSERT_EQ(versionOf(c), row.version);
        ASSERT_EQ(c.Handshake(row.version), 1);
        double bar = 0;
        EXPECT_EQ(c.GetOxygenPressure(bar), 1);
        EXPECT_DOUBLE_EQ(bar, 190.0);
        int position = -1;
        EXPECT_EQ(c.GetMouthpiece(position), 1);
        EXPECT_EQ(position, 1);
        double metres = 0;
        EXPECT_EQ(c.GetDepthLimit(metres), row.extended ? 1 : 0);
        uint16_t count = 0;
        EXPECT_EQ(c.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count), 1);
        EXPECT_EQ(count, 2);
        uint32_t service = 0;
        EXPECT_EQ(c.GetServiceTime(service), row.version >= 0x4922 ? 1 : 0);
        uint8_t mode = 0, test = 0, error = 0;
        EXPECT_EQ(c.GetSystemMode(mode, test, error), row.version >= 0x4925 ? 1 : 0);
    }
}

TEST_F(SimLinkTest, StatusValuesOf4925)
{
    CIrComm& c = connect("sim:fw4925");
    ASSERT_EQ(c.Handshake(0x4925), 1);
    uint8_t mode = 0, test = 0, error = 0, battery = 0, module = 0;
    uint16_t otu = 0;
    ASSERT_EQ(c.GetSystemMode(mode, test, error), 1);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(test, 7);
    EXPECT_EQ(error, 3);
    ASSERT_EQ(c.GetModuleTypes(battery, module), 1);
    EXPECT_EQ(battery, 5);
    EXPECT_EQ(module, 2);
    ASSERT_EQ(c.GetOtu(otu), 1);
    EXPECT_EQ(otu, 123);
}

TEST_F(SimLinkTest, WritesShowInLaterReadsAndInTheUnit)
{
    CIrComm& c = connect("sim");
    c.unitFirmwareVersion = 0x4925;  // as the settings read leaves it: the second map
    ASSERT_EQ(c.SetBacklight(50, 25), 1);
    int brightness = 0, off = 0;
    ASSERT_EQ(c.GetBacklight(brightness, off), 1);
    EXPECT_EQ(brightness, 49);  // written as 127
    EXPECT_EQ(unitOf("")->state().settings.backlightBrightness, 127);
    ASSERT_EQ(c.SetSetpointSurface(1.15), 1);
    EXPECT_EQ(unitOf("")->state().settings.setpointSurface, 114);
    ASSERT_EQ(c.SetHudBrightness(60), 1);
    uint16_t hud = 0;
    ASSERT_EQ(c.GetHudBrightness(hud), 1);
    EXPECT_EQ(hud, 50);

    EXPECT_EQ(c.SetOxygenPart(98), 0) << "protected write without the handshake";
    ASSERT_EQ(c.Handshake(0x4925), 1);
    ASSERT_EQ(c.SetOxygenPart(98), 1);
    ASSERT_EQ(c.ResetOtu(), 1);
    SimState s = unitOf("")->state();
    EXPECT_EQ(s.settings.oxygenPercent, 98);
    EXPECT_EQ(s.settings.otuValue, 0);
}

TEST_F(SimLinkTest, LowBatteryAndDeadCell)
{
    CIrComm& c = connect("sim:low-battery");
    uint16_t mv = 0;
    ASSERT_EQ(c.GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(mv, 3499);
    CIrComm& d = connect("sim:dead-cell");
    int cell1 = 0, cell2 = 0;
    EXPECT_EQ(d.GetO2Sensor1(cell1), 1);
    uint64_t before = clock.nowMs();
    EXPECT_EQ(d.GetO2Sensor2(cell2), 0);
    EXPECT_GE(clock.nowMs() - before, 2500u) << "the whole reply wait";
}

TEST_F(SimLinkTest, LongDiveDownloadsWhole)
{
    CIrComm& c = connect("sim:long-dive");
    SimState s = unitOf("long-dive")->state();
    uint16_t count = 0;
    ASSERT_EQ(c.ReadLogCount(UNIT_CMD_GET_DIVE_COUNT, count), 1);
    ASSERT_EQ(count, 2);
    LogDirectoryEntry entry;
    ASSERT_EQ(c.ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0, entry), 1);
    ASSERT_EQ(entry.recordCount, 12000u);
    EXPECT_EQ(entry.startTime, s.diveLogs[0].startTime);
    uint8_t header[256] = {};
    ASSERT_EQ(c.ReadHeaderBlocks(UNIT_CMD_GET_DIVE_HEADER, 0, header), 1);
    EXPECT_TRUE(std::equal(header, header + 256, s.diveLogs[0].header.begin()));
    std::vector<uint8_t> body(entry.recordCount * 4);
    size_t read = 0;
    while (read < body.size()) {
        int got = 0;
        int wanted = int(std::min<size_t>(100, body.size() - read));
        ASSERT_EQ(c.ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, uint32_t(read / 4), body.data() + read, wanted, got), 1);
        read += size_t(got);
    }
    EXPECT_EQ(body, s.diveLogs[0].records);

    ASSERT_EQ(c.ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 1, entry), 1);
    EXPECT_EQ(entry.recordCount, 0u) << "an empty log";
}

TEST_F(SimLinkTest, NoLogs)
{
    CIrComm& c = connect("sim:no-logs");
    uint16_t count = 9;
    ASSERT_EQ(c.ReadLogCount(UNIT_CMD_GET_DIVE_COUNT, count), 1);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(c.Handshake(0x4925), 1);
    ASSERT_EQ(c.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count), 1);
    EXPECT_EQ(count, 0);
}

TEST_F(SimLinkTest, RedboxNeedsTheHandshake)
{
    CIrComm& c = connect("sim");
    uint16_t count = 0;
    EXPECT_EQ(c.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count), 0);
    ASSERT_EQ(c.Handshake(0x4925), 1);
    EXPECT_EQ(c.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count), 1);
    EXPECT_EQ(count, 3);
}

TEST_F(SimLinkTest, LostNumberRecoveredByTheRecoverySequence)
{
    CIrComm& c = connect("sim:lost-number", 0xFFFF);
    ASSERT_EQ(versionOf(c), 0x4925);
    ASSERT_EQ(c.Handshake(0x4925), 1);
    uint8_t header[256] = {};
    ASSERT_EQ(c.ReadHeaderBlocks(UNIT_CMD_GET_REDBOX_HEADER, 0, header), 1);
    EXPECT_EQ(header[26] | header[27] << 8, 0xFFFF);
    ASSERT_EQ(c.ReadHeaderBlocks(UNIT_CMD_GET_REDBOX_HEADER, 1, header), 1);
    ASSERT_EQ(header[26] | header[27] << 8, 0x1234);
    uint32_t serviceDate = uint32_t(header[36] | header[37] << 8 | header[38] << 16 | uint32_t(header[39]) << 24);
    ASSERT_EQ(c.SetClock(849400000), 1);
    ASSERT_EQ(c.SendRecoveryWord(), 1);
    ASSERT_EQ(c.SetServiceDate(serviceDate), 1);
    ASSERT_EQ(c.SetRecoveryFlag(), 1);
    ASSERT_EQ(c.SetUnitNumber(0x1234), 1);
    ASSERT_EQ(c.PowerDown(), 1);
    c.Close();

    auto unit = unitOf("lost-number");
    EXPECT_EQ(unit->state().unitNumber, 0x1234);
    EXPECT_EQ(unit->state().settings.serviceTime, serviceDate);
    CIrComm probe;
    probe.setClock(&clock);
    probe.setAddress("sim:lost-number");
    ASSERT_EQ(probe.Open(), 0);
    EXPECT_EQ(probe.Connect(), -4) << "switched off";
    probe.Close();
    clock.sleepMs(2000);
    CIrComm& again = connect("sim:lost-number", 0x1234);
    EXPECT_EQ(versionOf(again), 0x4925);
}

// Sends one chunk frame and returns the bootloader's answer bytes.
std::vector<uint8_t> chunkAnswer(CIrComm& c, const uint8_t* data, int length)
{
    c.SendChunk(data, length);
    std::vector<uint8_t> answer;
    for (int i = 0; i < 40 && answer.empty(); ++i) {
        c.WaitReadable(50);
        uint8_t buffer[64];
        int n = c.Receive(buffer, sizeof buffer);
        if (n > 0)
            answer.assign(buffer, buffer + n);
    }
    return answer;
}

TEST_F(SimLinkTest, FirmwareThroughTheBootloader)
{
    SimState s;
    ASSERT_TRUE(presetState("", s));
    s.faults.chunkFaults = {{2, 0x44, 1}, {3, -1, 1}};
    custom("fw", s);
    CIrComm& c = connect("sim:fw");
    ASSERT_EQ(c.EnterBootloader(false), 1);
    c.Close();
    ASSERT_EQ(c.Open(), 0);
    EXPECT_EQ(c.Connect(), -4) << "restarting";
    c.Close();
    clock.sleepMs(2000);
    CIrComm& boot = connect("sim:fw");

    std::vector<uint8_t> image = testFirmwareImage(0x4A02, 4, 300);
    std::vector<uint8_t> answers;
    size_t offset = 0;
    while (offset + 2 <= image.size()) {
        int length = image[offset] << 8 | image[offset + 1];
        std::vector<uint8_t> a;
        for (int attempt = 0; attempt < 5; ++attempt) {
            a = chunkAnswer(boot, image.data() + offset + 2, length);
            answers.push_back(a.empty() ? 0 : a.back());
            if (!a.empty() && a.back() == 0x11)
                break;
        }
        offset += size_t(2 + length);
    }
    EXPECT_EQ(answers, (std::vector<uint8_t>{0x11, 0x44, 0x11, 0, 0x11, 0x11, 0x11}));
    boot.Close();
    clock.sleepMs(2000);
    CIrComm& after = connect("sim:fw");
    EXPECT_EQ(versionOf(after), 0x4A02);
}

TEST_F(SimLinkTest, UnitWaitingInItsBootloaderAcceptsChunksAtOnce)
{
    CIrComm& c = connect("sim:bootloader");
    const uint8_t chunk[] = {1, 2, 3, 4};
    EXPECT_EQ(chunkAnswer(c, chunk, 4), std::vector<uint8_t>{0x11});
    EXPECT_EQ(versionOf(c), 0) << "no frame answers in the bootloader";
}

SimState faulty(const std::function<void(SimFaults&)>& set)
{
    SimState s = generatedUnit(0x4925, {100}, 1, 1);
    set(s.faults);
    return s;
}

TEST_F(SimLinkTest, NoiseAndSplitRepliesAreStillRead)
{
    custom("noise", faulty([](SimFaults& f) { f.noiseBytes = 7; }));
    EXPECT_EQ(versionOf(connect("sim:noise")), 0x4925);
    custom("split", faulty([](SimFaults& f) { f.splitGapMs = 400; }));
    EXPECT_EQ(versionOf(connect("sim:split")), 0x4925);
}

TEST_F(SimLinkTest, CorruptedAndIgnoredRequestsFailThatCommandOnly)
{
    custom("corrupt", faulty([](SimFaults& f) { f.corruptEvery = 2; }));
    CIrComm& c = connect("sim:corrupt");
    uint16_t mv = 0;
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 0);
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 1);

    custom("ignore", faulty([](SimFaults& f) { f.ignoreEvery = 3; }));
    CIrComm& d = connect("sim:ignore");
    std::vector<int> results;
    for (int i = 0; i < 3; ++i)
        results.push_back(d.GetBatteryMillivolts(mv));
    EXPECT_EQ(results, (std::vector<int>{1, 1, 0}));
}

TEST_F(SimLinkTest, ReplyFromAnotherUnitNumberIsAccepted)
{
    custom("other", faulty([](SimFaults& f) { f.replyUnitNumber = 0x4321; }));
    CIrComm& c = connect("sim:other");
    uint16_t mv = 0;
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(mv, 3950);
}

TEST_F(SimLinkTest, SilentUnitFailsEveryCommandWithinTheWait)
{
    custom("silent", faulty([](SimFaults& f) { f.silent = true; }));
    CIrComm& c = connect("sim:silent");
    uint64_t before = clock.nowMs();
    EXPECT_EQ(versionOf(c), 0);
    uint64_t waited = clock.nowMs() - before;
    EXPECT_GE(waited, 2500u);
    EXPECT_LT(waited, 4000u);
}

TEST_F(SimLinkTest, DroppedLinkFailsReadsUntilReconnected)
{
    custom("drop", faulty([](SimFaults& f) { f.dropAfter = 2; }));
    CIrComm& c = connect("sim:drop");
    uint16_t mv = 0;
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 1);
    uint8_t byte;
    EXPECT_EQ(c.Receive(&byte, 1), -1);
    EXPECT_EQ(c.Send(&byte, 1), -1);
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 0);
    c.Close();
    EXPECT_EQ(connect("sim:drop").GetBatteryMillivolts(mv), 1);
}

TEST_F(SimLinkTest, ShortDataRepliesAreCompletedByFurtherRequests)
{
    SimState s = faulty([](SimFaults& f) { f.shortDataRecords = 10; });
    auto unit = custom("short", s);
    CIrComm& c = connect("sim:short");
    LogDirectoryEntry entry;
    ASSERT_EQ(c.ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0, entry), 1);
    uint8_t block[100] = {};
    int got = 0;
    ASSERT_EQ(c.ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 1);
    EXPECT_EQ(got, 100);
    EXPECT_TRUE(std::equal(block, block + 100, s.diveLogs[0].records.begin()));
}

TEST_F(SimLinkTest, LinkTimingDelaysRepliesByTheirLength)
{
    ManualClock manual;
    SimState s = faulty([](SimFaults&) {});
    s.timing = {true, 9600, 5};
    auto unit = custom("slow", s);
    unit->setClock(&manual);
    link = std::make_unique<CIrComm>();
    link->setClock(&manual);
    link->setAddress("sim:slow");
    ASSERT_EQ(link->Open(), 0);
    ASSERT_EQ(link->Connect(), 0);
    link->unitNumber = 0x1234;
    const uint8_t none = 0;
    link->SendFrame(5, &none, 0);
    EXPECT_EQ(link->Available(), 0) << "nothing before the line could carry it";
    manual.advance(20);
    EXPECT_EQ(link->Available(), 0);
    manual.advance(20);  // 7 + 22 bytes at 9600 baud + 5 ms = 35.2 ms
    EXPECT_EQ(link->Available(), 22);
}

}  // namespace
}  // namespace ravo::sim
