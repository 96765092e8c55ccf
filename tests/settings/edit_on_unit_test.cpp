#include <gtest/gtest.h>

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
    bench.readInfo(false, true);
    ASSERT_EQ(bench.settings().valid, 1);
}

TEST(EditOnUnit, SetpointIsTruncatedAndUsesTheLinkMap)
{
    for (uint32_t version : {0x4600u, 0x4925u}) {
        UnitBench bench(UnitTable::typical(version));
        readUnit(bench);
        UnitSettings record = bench.settings();
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
    UnitSettings record = bench.settings();
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
    UnitSettings record = bench.settings();
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
    UnitSettings record = bench.settings();
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
    UnitSettings record = bench.settings();
    AnsweringHost host;
    host.answer = "95";
    RecordingEvents held;
    held.holdStatusLines();
    ASSERT_TRUE(bench.worker.start(ConnectRequest{bench.unitNumber, false, true}, held));
    ASSERT_TRUE(held.waitHeld());
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_OXYGEN_PART, record, false, host), EditOutcome::Ignored);
    EXPECT_EQ(record.oxygenPercent, 98);
    held.release();
    ASSERT_TRUE(bench.worker.waitFinished(10000));

    bench.worker.closeLink();
    bench.worker.setLinkAddress("tcp:127.0.0.1:" + std::to_string(unusedPort()));
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
    bench.run(ConnectRequest{bench.unitNumber, false, true});
    UnitSettings record;
    AnsweringHost host;
    host.answer = "95";
    EXPECT_EQ(editSettingOnUnit(bench.worker, ROW_OXYGEN_PART, record, false, host), EditOutcome::HandshakeFailed);
    EXPECT_EQ(host.notices, std::vector<std::string>{"Failed to connect to unit"});
    EXPECT_EQ(bench.requestsWith(2).size(), 3u) << "the challenge is asked three times at most";
    EXPECT_TRUE(bench.requestsWith(52).empty());
    EXPECT_EQ(host.rereads, 0);
}

// The window's edit: the editor was answered on the user's side; the job
// connects, writes and asks for the re-read, or keeps the notice.
TEST(EditOnUnit, EditRowJobWritesWhatTheEditorGave)
{
    UnitBench bench(UnitTable::typical(0x4925));
    readUnit(bench);
    bench.worker.closeLink();  // the link may have idled out while the editor was up
    JobOutcome outcome = bench.run(EditRowRequest{ROW_SETPOINT_SURFACE, bench.settings(), "0.57", false});
    const auto* edit = outcome.as<EditRowResult>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->outcome, EditOutcome::Sent);
    EXPECT_TRUE(edit->reread);
    EXPECT_NEAR(edit->record.setpointSurface, 0.57, 1e-9) << "the list's copy carries the edit";
    ASSERT_EQ(bench.requestsWith(52).size(), 1u);
    EXPECT_EQ(bench.requestsWith(52)[0].payload, (std::vector<uint8_t>{56, 0}));
    EXPECT_TRUE(bench.receiver.lines().empty()) << "an edit writes no status lines";

    UnitTable refusing = UnitTable::typical(0x4925);
    refusing.answerChallenge = false;
    UnitBench other(refusing);
    outcome = other.run(EditRowRequest{ROW_OXYGEN_PART, UnitSettings{}, "95", false});
    edit = outcome.as<EditRowResult>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->outcome, EditOutcome::HandshakeFailed);
    EXPECT_EQ(edit->notices, std::vector<std::string>{"Failed to connect to unit"});
    EXPECT_FALSE(edit->reread);
}

TEST(PowerDown, OpcodeFollowsTheLinkVersionAndTheLinkCloses)
{
    for (uint32_t version : {0x46FFu, 0x4700u}) {
        UnitBench bench(UnitTable::typical(version));
        readUnit(bench);
        JobOutcome outcome = bench.run(PowerDownRequest{});
        ASSERT_NE(outcome.as<PowerDownResult>(), nullptr);
        EXPECT_TRUE(outcome.as<PowerDownResult>()->sent);
        const uint8_t opcode = version < 0x4700 ? 57 : 72;
        auto sent = bench.requestsWith(opcode);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].payload, std::vector<uint8_t>{1});
        EXPECT_FALSE(bench.worker.linkOpen());
        EXPECT_FALSE(bench.worker.keepLinkOpen());
        outcome = bench.run(PowerDownRequest{});
        EXPECT_FALSE(outcome.as<PowerDownResult>()->sent) << "nothing to send without a link";
    }
}

}  // namespace
}  // namespace ravo::test
