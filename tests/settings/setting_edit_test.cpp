#include <gtest/gtest.h>

#include "settings/setting_edit.h"
#include "settings/settings_rows.h"

namespace ravo {
namespace {

// Records what the edit path asks of the link; the handshake result and the
// connection are set by the test.
struct RecordingLink : SettingLink {
    bool connected = true;
    int handshakeResult = 1;
    uint32_t heldVersion = 0x4700;
    std::vector<uint32_t> handshakes;
    std::vector<SettingWrite> writes;

    bool isConnected() override { return connected; }
    int handshake(uint32_t version) override
    {
        handshakes.push_back(version);
        heldVersion = version;
        return handshakeResult;
    }
    uint32_t firmwareVersion() override { return heldVersion; }
    int write(const SettingWrite& w) override
    {
        writes.push_back(w);
        return 1;
    }
};

struct ScriptedHost : SettingEditHost {
    bool ok = true;
    std::string answer;
    std::vector<EditorRequest> shown;
    std::vector<std::string> notices;
    int rereads = 0;

    bool showEditor(const EditorRequest& editor, std::string& entered) override
    {
        shown.push_back(editor);
        entered = answer;
        return ok;
    }
    void notice(const std::string& text) override { notices.push_back(text); }
    void requestReread() override { ++rereads; }
};

uint32_t fixedNow() { return 777; }

TEST(SettingEdit, NotEditableRowNoticeOnlyWithoutServiceMode)
{
    UnitSettings s;
    RecordingLink link;
    ScriptedHost host;
    EXPECT_EQ(editSettingRow(0, s, false, 0x4700, link, host, fixedNow), EditOutcome::NotEditable);
    EXPECT_EQ(host.notices, std::vector<std::string>{"Can not be changed"});
    host.notices.clear();
    EXPECT_EQ(editSettingRow(12, s, true, 0x4700, link, host, fixedNow), EditOutcome::NotEditable);
    EXPECT_TRUE(host.notices.empty());
    EXPECT_TRUE(host.shown.empty());
    EXPECT_EQ(host.rereads, 0);
}

TEST(SettingEdit, ResetRowsNeedServiceModeBeforeAnyDialog)
{
    UnitSettings s;
    RecordingLink link;
    ScriptedHost host;
    EXPECT_EQ(editSettingRow(ROW_RESET_TISSUES, s, false, 0x4700, link, host, fixedNow), EditOutcome::ServiceOnly);
    EXPECT_EQ(host.notices, std::vector<std::string>{"Used by service center"});
    EXPECT_TRUE(host.shown.empty());
    EXPECT_TRUE(link.writes.empty());

    EXPECT_EQ(editSettingRow(ROW_RESET_TISSUES, s, true, 0x4925, link, host, fixedNow), EditOutcome::Sent);
    EXPECT_EQ(link.handshakes, std::vector<uint32_t>{0x4925});
    ASSERT_EQ(link.writes.size(), 1u);
    EXPECT_EQ(link.writes[0].command, UNIT_CMD_RESET_TISSUES);
    EXPECT_EQ(host.rereads, 1);
}

TEST(SettingEdit, CancelLeavesRecordAndSendsNothing)
{
    UnitSettings s;
    RecordingLink link;
    ScriptedHost host;
    host.ok = false;
    host.answer = "0";
    EXPECT_EQ(editSettingRow(ROW_HUD, s, false, 0x4700, link, host, fixedNow), EditOutcome::Cancelled);
    EXPECT_EQ(s.hudBrightness, 100);
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(host.rereads, 0);
}

TEST(SettingEdit, NotConnectedKeepsTheEditedValueSilently)
{
    UnitSettings s;
    RecordingLink link;
    link.connected = false;
    ScriptedHost host;
    host.answer = "60";
    EXPECT_EQ(editSettingRow(ROW_HUD, s, false, 0x4700, link, host, fixedNow), EditOutcome::NotConnected);
    EXPECT_EQ(s.hudBrightness, 50);
    EXPECT_TRUE(link.writes.empty());
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.rereads, 0);
}

TEST(SettingEdit, HandshakeFailureNoticeAndNoWrite)
{
    UnitSettings s;
    RecordingLink link;
    link.handshakeResult = 0;
    ScriptedHost host;
    host.answer = "95";
    EXPECT_EQ(editSettingRow(ROW_OXYGEN_PART, s, false, 0x4700, link, host, fixedNow), EditOutcome::HandshakeFailed);
    EXPECT_EQ(host.notices, std::vector<std::string>{"Failed to connect to unit"});
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(host.rereads, 0);
}

TEST(SettingEdit, RowsWithoutHandshakeSendDirectly)
{
    UnitSettings s;
    RecordingLink link;
    ScriptedHost host;
    host.answer = "60";
    EXPECT_EQ(editSettingRow(ROW_HUD, s, false, 0x4700, link, host, fixedNow), EditOutcome::Sent);
    EXPECT_TRUE(link.handshakes.empty());
    ASSERT_EQ(link.writes.size(), 1u);
    EXPECT_EQ(link.writes[0], (SettingWrite{UNIT_CMD_SET_HUD_BRIGHTNESS, SettingWrite::Word, 2, 0, 0}));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].valueText, "100");
}

TEST(SettingEdit, DecoOnFirstMapSendsNothingButRereads)
{
    UnitSettings s;
    RecordingLink link;
    ScriptedHost host;
    host.answer = "On";
    EXPECT_EQ(editSettingRow(ROW_DECO_ENABLED, s, false, 0x46FF, link, host, fixedNow), EditOutcome::Sent);
    EXPECT_EQ(link.handshakes, std::vector<uint32_t>{0x46FF});
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(host.rereads, 1);
}

TEST(SettingEdit, ClockIsTakenAfterTheDialog)
{
    UnitSettings s;
    RecordingLink link;
    ScriptedHost host;
    uint32_t clockValue = 1;
    auto now = [&] { return clockValue; };
    struct LateHost : ScriptedHost {
        uint32_t* clock;
        bool showEditor(const EditorRequest& e, std::string& entered) override
        {
            *clock = 5000;  // time passes while the dialog is open
            return ScriptedHost::showEditor(e, entered);
        }
    } late;
    late.clock = &clockValue;
    EXPECT_EQ(editSettingRow(ROW_RTC, s, false, 0x4700, link, late, now), EditOutcome::Sent);
    ASSERT_EQ(link.writes.size(), 1u);
    EXPECT_EQ(link.writes[0], (SettingWrite{UNIT_CMD_SET_CLOCK, SettingWrite::Dword, 5000, 0, 0}));
    (void)host;
}

TEST(SettingEdit, DiluentHeSendsHeThenN2)
{
    UnitSettings s;
    s.dilN2Percent = 79;
    s.dilHePercent = 0;
    RecordingLink link;
    ScriptedHost host;
    host.answer = "35";
    EXPECT_EQ(editSettingRow(ROW_DIL_HE, s, false, 0x4925, link, host, fixedNow), EditOutcome::Sent);
    ASSERT_EQ(link.writes.size(), 2u);
    EXPECT_EQ(link.writes[0], (SettingWrite{UNIT_CMD_SET_DIL_HE, SettingWrite::Word, 35, 0, 0}));
    EXPECT_EQ(link.writes[1], (SettingWrite{UNIT_CMD_SET_DIL_N2, SettingWrite::Word, 44, 0, 0}));
}

}  // namespace
}  // namespace ravo
