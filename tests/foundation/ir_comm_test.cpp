#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/ir_comm.h"
#include "link/link_address.h"
#include "support/posix_facilities.h"
#include "support/tcp_peer.h"

using ravo::CIrComm;

TEST(IrComm, ResultsAndTextsWithoutASocket)
{
    CIrComm link;
    EXPECT_TRUE(link.socketsReady);
    EXPECT_EQ(link.unitNumber, 0xFFFF);
    EXPECT_EQ(link.unitFirmwareVersion, 0u);
    EXPECT_EQ(link.Close(), -2);
    EXPECT_EQ(link.lastError, "INVALID socket");
    EXPECT_EQ(link.Connect(), -2);
    EXPECT_EQ(link.lastError, "INVALID socket");
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(link.PeerDescription(), "INVALID socket");
}

TEST(IrComm, TcpPeerConnectsOnceAndDescribesItself)
{
    ravo::test::TcpPeer peer;
    CIrComm link;
    link.setAddress("tcp:127.0.0.1:" + std::to_string(peer.port()));
    ASSERT_EQ(link.Open(), 0);
    EXPECT_EQ(link.Open(), 0) << "Open is idempotent";
    EXPECT_EQ(link.lastError, "");
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(link.lastError, "No unit connected");
    EXPECT_EQ(link.PeerDescription(), "No unit connected");

    ASSERT_EQ(link.Connect(), 0);
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(link.PeerDescription(), "tcp 127.0.0.1:" + std::to_string(peer.port()) + " (7f-00-00-01)");
    EXPECT_EQ(link.Connect(), 0) << "Connect is idempotent";
    EXPECT_EQ(link.Send(reinterpret_cast<const uint8_t*>("abc"), 3), 3);
    uint8_t buffer[8];
    EXPECT_EQ(link.Receive(buffer, sizeof buffer), 0) << "Receive never blocks";
    EXPECT_EQ(link.Available(), 0);

    EXPECT_EQ(link.Close(), 0);
    EXPECT_EQ(link.lastError, "");
    EXPECT_FALSE(link.connected);
    EXPECT_EQ(link.Close(), -2);
    for (int i = 0; i < 200 && peer.accepted() < 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(peer.accepted(), 1) << "the second Connect did not reach out again";
}

TEST(IrComm, AbsentPeersAndBadAddresses)
{
    CIrComm link;
    link.setAddress("tcp:127.0.0.1:" + std::to_string(ravo::test::unusedPort()));
    ASSERT_EQ(link.Open(), 0);
    EXPECT_EQ(link.Connect(), -4);
    EXPECT_EQ(link.lastError, "-4:\tno peers discovered/error...");
    link.Close();

    link.setAddress("serial:/dev/does-not-exist-ravo");
    ASSERT_EQ(link.Open(), 0);
    EXPECT_EQ(link.Connect(), -4);
    link.Close();

    for (const char* bad : {"", "tcp:", "tcp:host", "tcp:host:0", "tcp:host:99999", "serial:", "serial:/dev/x@fast",
                            "irda:x", "carrier-pigeon"}) {
        link.setAddress(bad);
        EXPECT_EQ(link.Open(), -2) << bad;
        EXPECT_EQ(link.lastError.str().rfind("Bad link address", 0), 0u) << bad << ": " << link.lastError;
        EXPECT_FALSE(link.isOpen());
    }

    link.setAddress("irda");
    EXPECT_EQ(link.Open(), -2) << "no IrDA socket service on this platform";
    EXPECT_EQ(link.lastError, "INVALID socket AF_IRDA, SOCK_STREAM");
}

TEST(IrComm, SerialDeviceOnAPseudoTerminal)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << ravo::test::kNeedsPosix;
    ravo::test::TestPty pty;
    ASSERT_TRUE(pty.open());
    const std::string name = pty.name();
    CIrComm link;
    link.setAddress("serial:" + name + "@9600");
    ASSERT_EQ(link.Open(), 0);
    ASSERT_EQ(link.Connect(), 0);
    std::string base = name;
    base = base.substr(base.rfind('/') + 1);
    EXPECT_EQ(link.PeerDescription(), base + " (00-00-00-00)");

    ASSERT_EQ(pty.writeMaster("\xFA\x01", 2), 2);
    EXPECT_TRUE(link.WaitReadable(2000));
    uint8_t buffer[4] = {};
    EXPECT_EQ(link.Receive(buffer, 4), 2);
    EXPECT_EQ(buffer[0], 0xFA);
    EXPECT_EQ(link.Send(reinterpret_cast<const uint8_t*>("x"), 1), 1);
    char echo = 0;
    EXPECT_EQ(pty.readMaster(&echo, 1), 1);
    EXPECT_EQ(echo, 'x');
    link.Close();
}

TEST(IrComm, DeviceNameIsCutTo22Bytes)
{
    ravo::DeviceInfo info;
    info.setName("tcp a-very-long-host-name.example:4711");
    EXPECT_EQ(std::string(info.name, 22), "tcp a-very-long-host-n");
}

TEST(IrComm, WaitReadableFollowsTheLinkClock)
{
    ravo::ManualClock clock;
    CIrComm link;
    link.setClock(&clock);
    EXPECT_FALSE(link.WaitReadable(100)) << "nothing open: the wait passes in virtual time";
    EXPECT_EQ(clock.nowMs(), 100u);
}
