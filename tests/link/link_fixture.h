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

// Time on the link runs this many times faster than real time: the 2.5 s
// reply wait passes in 250 real milliseconds.
inline constexpr double kLinkTimeScale = 10.0;

// A link connected over a real socket to a scripted unit, unit number 0x1234.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!peer)
            peer = std::make_unique<LinkScriptPeer>();
        link = std::make_unique<CIrComm>();
        link->setAddress(peer->address());
        link->setClock(&clock);
        ASSERT_EQ(link->Open(), 0) << link->lastError;
        ASSERT_EQ(link->Connect(), 0) << link->lastError;
        link->unitNumber = 0x1234;
    }

    // Requests the peer received, after the link's own waits have ended.
    std::vector<ReceivedRequest> requests() const { return peer->requests(); }

    ScaledClock clock{kLinkTimeScale};
    std::unique_ptr<LinkScriptPeer> peer;  // set before SetUp for a handler peer
    std::unique_ptr<CIrComm> link;
};

}  // namespace ravo::test
