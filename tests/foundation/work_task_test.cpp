#include <gtest/gtest.h>

#include <thread>

#include "jobs/work_task.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_receiver.h"
#include "support/tcp_peer.h"

using ravo::WorkTask;
using ravo::test::RecordingReceiver;

namespace {

void runToEnd(WorkTask& task, int code, RecordingReceiver* receiver)
{
    task.start(code, receiver);
    ASSERT_TRUE(task.waitFinished(10000));
}

std::string tcpAddress(int port)
{
    return "tcp:127.0.0.1:" + std::to_string(port);
}

}  // namespace

TEST(WorkTask, UnknownJobConnectsReportsAndCloses)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.link.setAddress(tcpAddress(peer.port()));
    task.unitNumber = 0x12AB;
    RecordingReceiver receiver;
    runToEnd(task, 0, &receiver);
    EXPECT_EQ(task.exitCode(), 0);
    std::string expected = "Connect to unit 12AB [tcp 127.0.0.1:" + std::to_string(peer.port()) + " (7f-00-00-01)]";
    EXPECT_EQ(receiver.lines(), std::vector<std::string>{expected});
    auto entries = receiver.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].message, ravo::UM_FIRMWARE_TEXT) << "an empty firmware text after each connect";
    EXPECT_EQ(entries[0].text, "");
    EXPECT_EQ(std::string(task.statusLine), expected);
    EXPECT_FALSE(task.link.isOpen()) << "closed when keepLinkOpen is false";
    EXPECT_FALSE(task.busy);

    task.keepLinkOpen = true;
    runToEnd(task, 99, &receiver);
    EXPECT_TRUE(task.link.IsConnected()) << "kept open on request";
}

TEST(WorkTask, ConnectFailuresGiveTheirLinesAndResults)
{
    WorkTask task;
    RecordingReceiver receiver;
    task.unitNumber = 0x1234;
    task.voltage = 4.1;
    task.link.setAddress(tcpAddress(ravo::test::unusedPort()));
    runToEnd(task, ravo::JOB_READ_INFO, &receiver);
    EXPECT_EQ(task.exitCode(), -2);
    EXPECT_EQ(receiver.lines().back(), "Can not find any IrDA unit. Please check that unit is on.");
    EXPECT_EQ(task.linkText, "-4:\tno peers discovered/error...") << "the link's reason outlives the reset";
    EXPECT_EQ(task.voltage, 0.0);

    task.link.setAddress("tcp:nowhere");
    runToEnd(task, ravo::JOB_READ_INFO, &receiver);
    EXPECT_EQ(task.exitCode(), -1);
    EXPECT_EQ(receiver.lines().back(), "Can not open IrDA socket. Please check if IrDA unit is connected.");
    EXPECT_FALSE(task.linkText.empty());
    EXPECT_NE(task.linkText, "INVALID socket") << "the open's reason, not the close's";

    // Without a receiver the lines are still formatted.
    task.link.setAddress(tcpAddress(ravo::test::unusedPort()));
    runToEnd(task, 0, nullptr);
    EXPECT_EQ(task.exitCode(), -2);
}

TEST(WorkTask, StartWhileRunningStartsNothing)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.link.setAddress(tcpAddress(peer.port()));
    task.unitNumber = 0x1234;
    RecordingReceiver receiver;
    receiver.holdStatusLines();
    task.start(0, &receiver);
    ASSERT_TRUE(receiver.waitHeld());
    EXPECT_TRUE(task.busy);

    RecordingReceiver other;
    task.start(ravo::JOB_READ_INFO, &other);
    EXPECT_EQ(task.jobCode, 0) << "the running job continues unchanged";
    EXPECT_EQ(task.notifyWindow, &receiver);
    receiver.release();
    ASSERT_TRUE(task.waitFinished(10000));
    EXPECT_TRUE(other.entries().empty());
    EXPECT_FALSE(task.busy);
}

TEST(WorkTask, NewUnitNumberClosesTheLinkAndResetsUnitInformation)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.link.setAddress(tcpAddress(peer.port()));
    task.keepLinkOpen = true;
    task.unitNumber = 0x1234;
    RecordingReceiver receiver;
    runToEnd(task, 0, &receiver);
    ASSERT_TRUE(task.link.IsConnected());

    // Same unit, link still connected: what was read stays.
    task.voltage = 4.2;
    task.versions.hudSoftware = 7;
    runToEnd(task, 0, &receiver);
    EXPECT_EQ(task.voltage, 4.2);

    task.unitNumber = 0x4321;
    runToEnd(task, 0, &receiver);
    EXPECT_EQ(task.voltage, 0.0);
    EXPECT_EQ(task.versions.hudSoftware, 0);
    EXPECT_EQ(task.link.unitNumber, 0x4321);
    for (int i = 0; i < 400 && peer.accepted() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(peer.accepted(), 2) << "the link was closed and connected anew";
}

TEST(WorkTask, StopRequestedWhileIdleReachesTheNextJob)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.link.setAddress(tcpAddress(peer.port()));
    task.keepLinkOpen = true;
    task.unitNumber = 0x1234;
    RecordingReceiver receiver;
    runToEnd(task, 0, &receiver);

    // The next job keeps the connected link, so the request is still set
    // when its body runs; the job's end clears it.
    task.stopRequested = true;
    struct Probe : RecordingReceiver {
        WorkTask* task = nullptr;
        bool seen = false;
        intptr_t sendMessage(unsigned m, uintptr_t w, intptr_t l) override
        {
            if (m == ravo::UM_STATUS_TEXT)
                seen = task->stopRequested;
            return RecordingReceiver::sendMessage(m, w, l);
        }
    } probe;
    probe.task = &task;
    runToEnd(task, 0, &probe);
    EXPECT_TRUE(probe.seen);
    EXPECT_FALSE(task.stopRequested);

    // A job that begins by resetting the unit information drops it.
    task.stopRequested = true;
    task.unitNumber = 0x2222;
    probe.seen = false;
    runToEnd(task, 0, &probe);
    EXPECT_FALSE(probe.seen);
}

TEST(WorkTask, DestroyedMidJobWaitsForTheJob)
{
    ravo::test::TcpPeer peer;
    auto task = std::make_unique<WorkTask>();
    task->link.setAddress(tcpAddress(peer.port()));
    RecordingReceiver receiver;
    receiver.holdStatusLines();
    task->start(0, &receiver);
    ASSERT_TRUE(receiver.waitHeld());

    std::atomic<bool> destroyed{false};
    std::thread killer([&] {
        task.reset();
        destroyed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(destroyed) << "the destructor waits for the running job";
    receiver.release();
    killer.join();
    EXPECT_TRUE(destroyed);
}

TEST(WorkTask, LinesAreCutAt254Characters)
{
    WorkTask task;
    RecordingReceiver receiver;
    task.notifyWindow = &receiver;
    task.line("%s", std::string(400, 'a').c_str());
    EXPECT_EQ(std::string(task.statusLine).size(), 254u);
    EXPECT_EQ(receiver.lines().at(0).size(), 254u);
    task.stopRequested = true;
    EXPECT_TRUE(task.stopCheck());
    EXPECT_EQ(receiver.lines().back(), "User stopped....");
}

TEST(WorkTask, StopRequestedWhileIdleEndsTheNextReadAtItsFirstStopCheck)
{
    ravo::sim::registerSimTransport();
    ravo::sim::forgetSimUnits();
    WorkTask task;
    task.link.setAddress("sim");
    task.keepLinkOpen = true;
    task.unitNumber = 0x1234;
    RecordingReceiver first;
    runToEnd(task, ravo::JOB_READ_INFO, &first);
    ASSERT_FALSE(first.hasLine("User stopped....")) << first.lines().back();

    task.stopRequested = true;
    RecordingReceiver second;
    runToEnd(task, ravo::JOB_READ_INFO, &second);
    EXPECT_TRUE(second.hasLine("User stopped....")) << "the request made while idle stopped the job";
    EXPECT_FALSE(second.hasLine("Reading settings list... wait"));
    EXPECT_FALSE(task.stopRequested) << "cleared when the job ended";
    ravo::sim::forgetSimUnits();
}

TEST(WorkTask, FailedVersionsReadLeavesNoVersionsOfTheLastRead)
{
    ravo::sim::registerSimTransport();
    ravo::ManualClock clock;
    ravo::sim::SimState state;
    ASSERT_TRUE(ravo::sim::presetState("default", state));
    auto unit = std::make_shared<ravo::sim::SimUnit>(state);
    unit->setClock(&clock);
    ravo::sim::registerSimUnit("versions-read", unit);
    WorkTask task;
    task.link.setAddress("sim:versions-read");
    task.link.setClock(&clock);
    task.keepLinkOpen = true;
    task.unitNumber = state.unitNumber;
    RecordingReceiver first;
    runToEnd(task, ravo::JOB_READ_INFO, &first);
    ASSERT_EQ(task.versions.mainVersion, state.mainVersion);

    // Same unit number, link still open: nothing resets the versions but the read.
    unit->update([](ravo::sim::SimState& s) { s.faults.silent = true; });
    RecordingReceiver second;
    runToEnd(task, ravo::JOB_READ_INFO, &second);
    EXPECT_TRUE(second.hasLine("No responce from unit. Please, check unit nr."));
    EXPECT_EQ(task.versions.mainVersion, 0);
    EXPECT_EQ(task.versions.hudSoftware, 0);
    EXPECT_EQ(task.versions.batteryHardware, 0);
    ravo::sim::forgetSimUnits();
}
