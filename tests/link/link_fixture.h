#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/clock.h"
#include "link/ir_comm.h"
#include "support/link_script_peer.h"

namespace ravo::test {

// What the link told of its traffic: 'S' a frame sent, 'R' a reply received.
struct ActivityLog : LinkActivity {
    std::string seen;
    void frameSent() override { seen += 'S'; }
    void replyReceived() override { seen += 'R'; }
};

// The link's pauses run this many times faster than real time; a reply the
// peer sends is waited for in real time, a reply it never sends for 2.5 s of
// link time, which pass in about 60 real milliseconds.
inline constexpr double kLinkTimeScale = 40.0;
inline constexpr uint32_t kReplyWaitMs = 2500;

// A link connected over a real socket to a scripted unit, unit number 0x1234.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!peer)
            peer = std::make_unique<LinkScriptPeer>();
        peer->letSilenceExpire(&clock, kReplyWaitMs);
        link = std::make_unique<CIrComm>();
        link->setAddress(peer->address());
        link->setClock(&clock);
        ASSERT_EQ(link->Open(), 0) << link->lastError;
        ASSERT_EQ(link->Connect(), 0) << link->lastError;
        link->unitNumber = 0x1234;
    }

    // Requests the peer received, after the link's own waits have ended.
    std::vector<ReceivedRequest> requests() const { return peer->requests(); }

    PatientClock clock{kLinkTimeScale};
    std::unique_ptr<LinkScriptPeer> peer;  // set before SetUp for a handler peer
    std::unique_ptr<CIrComm> link;
};

}  // namespace ravo::test
