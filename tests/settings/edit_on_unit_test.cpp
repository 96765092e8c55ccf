#include <gtest/gtest.h>

#include "jobs/unit_power_down.h"
#include "scripted_unit.h"
#include "jobs/worker_edit_host.h"
#include "settings/settings_rows.h"
#include "support/tcp_peer.h"

namespace ravo::test {
namespace {

struct AnsweringHost : SettingEditHost {
    std::string answer;
    std::vector<std::string> notices;
    int rereads = 0;
    bool showEditor(const EditorRequest&, std::string& entered) override
    {
        entered = answer;
        return true;
    }
    void notice(const std::string& text) override { notices.push_back(text); }
    void requestReread() override { ++rereads; }
};

// Reads the unit with the link kept open, as the list's editors find it.
void readUnit(UnitBench& bench)
{
    bench.worker.keepLinkOpen = true;
    bench.run(JOB_READ_INFO);
    ASSERT_EQ(bench.worker.settings.valid, 1);
}

TEST(EditOnUnit, SetpointIsTruncatedAndUsesTheLinkMap)
{
    for (uint32_t version : {0x4600u, 0x4925u}) {
        UnitBench bench(UnitTable::typical(version));
        readUnit(bench);
        UnitSettings record = bench.worker.settings;
        AnsweringHost host;
        host.answer = "0.57";
        EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_SETPOINT_SURFACE, record, false, host), EditOutcome::Sent);
        const uint8_t opcode = version < 0x4700 ? 44 : 52;
        auto writes = bench.requestsWith(opcode);
        ASSERT_EQ(writes.size(), 1u) << std::hex << version;
        EXPECT_EQ(writes[0].payload, (std::vector<uint8_t>{56, 0}));
        EXPECT_EQ(host.rereads, 1);
    }
}

TEST(EditOnUnit, HudAndBacklightBytes)
{
    UnitBench bench(UnitTable::typical(0x4925));
    readUnit(bench);
    UnitSettings record = bench.worker.settings;
    AnsweringHost host;
    host.answer = "60";
    editSettingOnUnit(bench.worker, ROW_HUD, record, false, host);
    ASSERT_EQ(bench.requestsWith(39).size(), 1u);
    EXPECT_EQ(bench.requestsWith(39)[0].payload, (std::vector<uint8_t>{2, 0}));
    host.answer = "50";
    record.backlightOffLevel = 25;
    editSettingOnUnit(bench.worker, ROW_BACKLIGHT, record, false, host);
    ASSERT_EQ(bench.requestsWith(6).size(), 1u);
    EXPECT_EQ(bench.requestsWith(6)[0].payload, (std::vector<uint8_t>{127, 64}));
}

TEST(EditOnUnit, DiluentHeGoesFirstAfterTheHandshake)
{
    UnitBench bench(UnitTable::typical(0x4925));
    readUnit(bench);
    UnitSettings record = bench.worker.settings;
    AnsweringHost host;
    host.answer = "35";
    size_t before = bench.peer.requests().size();
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_DIL_HE, record, false, host), EditOutcome::Sent);
    auto all = bench.peer.requests();
    std::vector<uint8_t> opcodes;
    for (size_t i = before; i < all.size(); ++i)
        opcodes.push_back(all[i].opcode);
    EXPECT_EQ(opcodes, (std::vector<uint8_t>{2, 4, 61, 59}));
    EXPECT_EQ(all[all.size() - 2].payload, (std::vector<uint8_t>{35, 0}));
    EXPECT_EQ(all.back().payload, (std::vector<uint8_t>{44, 0}));
}

TEST(EditOnUnit, DecoEnableOnFirstMapSendsNothing)
{
    UnitBench bench(UnitTable::typical(0x46FF));
    readUnit(bench);
    UnitSettings record = bench.worker.settings;
    AnsweringHost host;
    host.answer = "On";
    size_t before = bench.peer.requests().size();
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_DECO_ENABLED, record, false, host), EditOutcome::Sent);
    auto all = bench.peer.requests();
    ASSERT_EQ(all.size(), before + 2) << "only the handshake";
    EXPECT_EQ(host.rereads, 1);
}

TEST(EditOnUnit, BusyWorkerIsIgnoredAndUnreachableUnitKeepsTheEdit)
{
    UnitBench bench(UnitTable::typical(0x4925));
    readUnit(bench);
    UnitSettings record = bench.worker.settings;
    AnsweringHost host;
    host.answer = "95";
    bench.worker.busy = true;
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_OXYGEN_PART, record, false, host), EditOutcome::Ignored);
    EXPECT_EQ(record.oxygenPercent, 98);
    bench.worker.busy = false;

    bench.worker.link.Close();
    bench.worker.link.setAddress("tcp:127.0.0.1:" + std::to_string(unusedPort()));
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_OXYGEN_PART, record, false, host), EditOutcome::NotConnected);
    EXPECT_EQ(record.oxygenPercent, 95) << "the edited value stays in the list's record";
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.rereads, 0);
}

TEST(EditOnUnit, FailedHandshakeGivesTheNoticeAndNoWrite)
{
    UnitTable table = UnitTable::typical(0x4925);
    table.answerChallenge = false;
    UnitBench bench(table);
    bench.worker.keepLinkOpen = true;
    bench.run(JOB_NONE);
    UnitSettings record;
    AnsweringHost host;
    host.answer = "95";
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_OXYGEN_PART, record, false, host), EditOutcome::HandshakeFailed);
    EXPECT_EQ(host.notices, std::vector<std::string>{"Failed to connect to unit"});
    EXPECT_EQ(bench.requestsWith(2).size(), 1u);
    EXPECT_TRUE(bench.requestsWith(52).empty());
    EXPECT_EQ(host.rereads, 0);
}

TEST(PowerDown, OpcodeFollowsTheLinkVersionAndTheLinkCloses)
{
    for (uint32_t version : {0x46FFu, 0x4700u}) {
        UnitBench bench(UnitTable::typical(version));
        readUnit(bench);
        EXPECT_EQ(powerDownUnit(bench.worker), 1);
        const uint8_t opcode = version < 0x4700 ? 57 : 72;
        auto sent = bench.requestsWith(opcode);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].payload, std::vector<uint8_t>{1});
        EXPECT_FALSE(bench.worker.link.isOpen());
        EXPECT_FALSE(bench.worker.keepLinkOpen);
        EXPECT_TRUE(bench.worker.stopRequested);
        EXPECT_EQ(powerDownUnit(bench.worker), 0) << "nothing to send without a link";
    }
}

}  // namespace
}  // namespace ravo::test
