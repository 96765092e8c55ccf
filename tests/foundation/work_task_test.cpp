#include <gtest/gtest.h>

#include <thread>

#include "jobs/work_task.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_server.h"
#include "sim/sim_transport.h"
#include "support/job_bench.h"
#include "support/recording_events.h"
#include "support/tcp_peer.h"

using ravo::ConnectRequest;
using ravo::JobOutcome;
using ravo::LinkEvent;
using ravo::ReadInfoRequest;
using ravo::WorkTask;
using ravo::test::RecordingEvents;

namespace {

JobOutcome runToEnd(WorkTask& task, ravo::JobRequest request, RecordingEvents& events)
{
    events.clear();
    EXPECT_TRUE(task.start(std::move(request), events));
    EXPECT_TRUE(task.waitFinished(10000));
    return task.lastOutcome();
}

std::string tcpAddress(int port)
{
    return "tcp:127.0.0.1:" + std::to_string(port);
}

// Connects to unit `unit` without reading anything.
ConnectRequest connectOnly(uint16_t unit, bool keepOpen = false)
{
    return ConnectRequest{unit, false, keepOpen};
}

// A simulated unit served over TCP on a thread of its own, on `port` (0 picks one).
struct ServedUnit {
    explicit ServedUnit(std::shared_ptr<ravo::sim::SimUnit> unit, int wanted = 0) : server(std::move(unit))
    {
        std::string error;
        port = server.listenTcp(wanted, error);
        thread = std::thread([this] { server.run(stop, [] {}); });
    }
    ~ServedUnit()
    {
        stop = true;
        thread.join();
    }
    ravo::sim::SimServer server;
    int port = -1;
    std::atomic<bool> stop{false};
    std::thread thread;
};

std::shared_ptr<ravo::sim::SimUnit> defaultUnit()
{
    ravo::sim::SimState state;
    EXPECT_TRUE(ravo::sim::presetState("default", state));
    return std::make_shared<ravo::sim::SimUnit>(state);
}

}  // namespace

TEST(WorkTask, ConnectReportsAndCloses)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.setLinkAddress(tcpAddress(peer.port()));
    RecordingEvents events;
    JobOutcome outcome = runToEnd(task, connectOnly(0x12AB), events);
    EXPECT_TRUE(outcome.connected());
    EXPECT_EQ(outcome.kind, ravo::JobKind::Connect);
    std::string peerText = "tcp 127.0.0.1:" + std::to_string(peer.port()) + " (7f-00-00-01)";
    EXPECT_EQ(outcome.linkText, peerText);
    EXPECT_EQ(events.lines(), std::vector<std::string>{"Connect to unit 12AB [" + peerText + "]"});
    using Kind = RecordingEvents::Kind;
    EXPECT_EQ(events.kinds(), (std::vector<Kind>{Kind::FirmwareText, Kind::Status, Kind::Finished}))
        << "an empty firmware text after each connect; the end is the last event";
    EXPECT_EQ(events.entries()[0].text, "");
    EXPECT_EQ(task.lastLine(), "Connect to unit 12AB [" + peerText + "]");
    EXPECT_FALSE(task.linkOpen()) << "closed when the link is not kept";
    EXPECT_FALSE(task.running());

    runToEnd(task, connectOnly(0x12AB, true), events);
    EXPECT_TRUE(task.linkOpen()) << "kept open on request";
}

TEST(WorkTask, ConnectFailuresGiveTheirLinesAndResults)
{
    WorkTask task;
    RecordingEvents events;
    task.setLinkAddress(tcpAddress(ravo::test::unusedPort()));
    JobOutcome outcome = runToEnd(task, ReadInfoRequest{0x1234}, events);
    EXPECT_EQ(outcome.connect, -2);
    EXPECT_EQ(events.lines().back(), "Can not find any IrDA unit. Please check that unit is on.");
    EXPECT_EQ(outcome.linkText, "-4:\tno peers discovered/error...") << "the link's reason outlives the reset";
    const auto* read = outcome.as<ravo::ReadInfoResult>();
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->voltage) << "nothing was read, so nothing is shown";
    EXPECT_FALSE(read->versions);

    task.setLinkAddress("tcp:nowhere");
    outcome = runToEnd(task, ReadInfoRequest{0x1234}, events);
    EXPECT_EQ(outcome.connect, -1);
    EXPECT_EQ(events.lines().back(), "Can not open IrDA socket. Please check if IrDA unit is connected.");
    EXPECT_FALSE(outcome.linkText.empty());
    EXPECT_NE(outcome.linkText, "INVALID socket") << "the open's reason, not the close's";
}

TEST(WorkTask, StartWhileRunningStartsNothing)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.setLinkAddress(tcpAddress(peer.port()));
    RecordingEvents events;
    events.holdStatusLines();
    ASSERT_TRUE(task.start(connectOnly(0x1234), events));
    ASSERT_TRUE(events.waitHeld());
    EXPECT_TRUE(task.running());

    RecordingEvents other;
    EXPECT_FALSE(task.start(ReadInfoRequest{0x1234}, other)) << "the running job continues unchanged";
    events.release();
    ASSERT_TRUE(task.waitFinished(10000));
    EXPECT_TRUE(other.entries().empty());
    EXPECT_FALSE(task.running());
    EXPECT_EQ(task.lastOutcome().kind, ravo::JobKind::Connect);
}

TEST(WorkTask, AStartFromTheEndOfAJobIsAccepted)
{
    // The window starts the next job (a re-read) while it handles the end of
    // the last one: the worker takes it.
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.setLinkAddress(tcpAddress(peer.port()));
    struct Chain : RecordingEvents {
        WorkTask* task = nullptr;
        bool startedNext = false;
        void jobFinished(const JobOutcome& outcome) override
        {
            RecordingEvents::jobFinished(outcome);
            startedNext = !task->running();
        }
    } chain;
    chain.task = &task;
    ASSERT_TRUE(task.start(connectOnly(0x1234), chain));
    ASSERT_TRUE(task.waitFinished(10000));
    EXPECT_TRUE(chain.startedNext) << "not running any more once the end is told";
}

TEST(WorkTask, NewUnitNumberClosesTheLinkAndConnectsAnew)
{
    ravo::test::TcpPeer peer;
    WorkTask task;
    task.setLinkAddress(tcpAddress(peer.port()));
    RecordingEvents events;
    runToEnd(task, connectOnly(0x1234, true), events);
    ASSERT_TRUE(task.linkOpen());
    runToEnd(task, connectOnly(0x1234, true), events);
    runToEnd(task, connectOnly(0x4321, true), events);
    for (int i = 0; i < 400 && peer.accepted() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(peer.accepted(), 2) << "the same unit kept its link; another unit got a new one";
}

TEST(WorkTask, StopRequestedWhileIdleEndsTheNextReadAtItsFirstStopCheck)
{
    ravo::sim::registerSimTransport();
    ravo::ManualClock clock;
    auto unit = defaultUnit();
    unit->setClock(&clock);
    ravo::sim::registerSimUnit("stop-idle", unit);
    WorkTask task;
    task.setLinkAddress("sim:stop-idle");
    task.setClock(&clock);
    RecordingEvents first;
    runToEnd(task, ReadInfoRequest{0x1234, false, true}, first);
    ASSERT_FALSE(first.hasLine("User stopped....")) << first.lines().back();

    task.requestStop();
    RecordingEvents second;
    runToEnd(task, ReadInfoRequest{0x1234, false, true}, second);
    EXPECT_TRUE(second.hasLine("User stopped....")) << "the request made while idle stopped the job";
    EXPECT_FALSE(second.hasLine("Reading settings list... wait"));
    EXPECT_FALSE(task.stopRequested()) << "cleared when the job ended";

    // A job that begins on a fresh connection drops an old request.
    task.requestStop();
    RecordingEvents third;
    runToEnd(task, ReadInfoRequest{0x2222, false, true}, third);
    EXPECT_FALSE(third.hasLine("User stopped...."));
    ravo::sim::forgetSimUnits();
}

TEST(WorkTask, DestroyedMidJobWaitsForTheJob)
{
    ravo::test::TcpPeer peer;
    auto task = std::make_unique<WorkTask>();
    task->setLinkAddress(tcpAddress(peer.port()));
    RecordingEvents events;
    events.holdStatusLines();
    task->start(connectOnly(0x1234), events);
    ASSERT_TRUE(events.waitHeld());

    std::atomic<bool> destroyed{false};
    std::thread killer([&] {
        task.reset();
        destroyed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(destroyed) << "the destructor waits for the running job";
    events.release();
    killer.join();
    EXPECT_TRUE(destroyed);
}

TEST(WorkTask, FailedVersionsReadLeavesNoVersions)
{
    ravo::sim::registerSimTransport();
    ravo::ManualClock clock;
    auto unit = defaultUnit();
    unit->setClock(&clock);
    ravo::sim::registerSimUnit("versions-read", unit);
    WorkTask task;
    task.setLinkAddress("sim:versions-read");
    task.setClock(&clock);
    RecordingEvents events;
    JobOutcome outcome = runToEnd(task, ReadInfoRequest{0x1234, false, true}, events);
    const auto* read = outcome.as<ravo::ReadInfoResult>();
    ASSERT_TRUE(read && read->versions);
    EXPECT_NE(task.versions().mainVersion, 0);

    unit->update([](ravo::sim::SimState& s) { s.faults.silent = true; });
    outcome = runToEnd(task, ReadInfoRequest{0x1234, false, true}, events);
    read = outcome.as<ravo::ReadInfoResult>();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(events.hasLine("No responce from unit. Please, check unit nr."));
    EXPECT_EQ(read->code, -4);
    EXPECT_FALSE(read->versions) << "no versions of the last read";
    EXPECT_FALSE(read->voltage);
    EXPECT_EQ(task.versions().mainVersion, 0);
    ravo::sim::forgetSimUnits();
}

// The unit's answers are reported, and a unit that stops answering gets its
// link closed, so the next request connects afresh.
TEST(WorkTask, AnUnansweredJobClosesTheLinkAndTheNextConnectsAnew)
{
    ravo::sim::registerSimTransport();
    ravo::ManualClock clock;
    auto unit = defaultUnit();
    unit->setClock(&clock);
    ravo::sim::registerSimUnit("goes-quiet", unit);
    WorkTask task;
    task.setLinkAddress("sim:goes-quiet");
    task.setClock(&clock);
    RecordingEvents events;
    runToEnd(task, ReadInfoRequest{0x1234, false, true}, events);
    std::vector<LinkEvent> links = events.linkEvents();
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(links.front().kind, LinkEvent::UnitAnswered);
    EXPECT_LT(links.size(), 20u) << "at most one report every quarter second";
    EXPECT_TRUE(task.linkOpen());

    unit->update([](ravo::sim::SimState& s) { s.faults.silent = true; });
    runToEnd(task, ReadInfoRequest{0x1234, false, true}, events);
    links = events.linkEvents();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].kind, LinkEvent::LinkLost);
    EXPECT_EQ(links[0].reason, "unit 1234 did not answer");
    EXPECT_FALSE(task.linkOpen()) << "kept open on request, but the unit is gone";

    // A wrong unit number never answers either.
    unit->update([](ravo::sim::SimState& s) { s.faults.silent = false; });
    runToEnd(task, ReadInfoRequest{0x1235, false, true}, events);
    ASSERT_EQ(events.linkEvents().size(), 1u);
    EXPECT_EQ(events.linkEvents()[0].kind, LinkEvent::LinkLost);

    JobOutcome outcome = runToEnd(task, ReadInfoRequest{0x1234, false, true}, events);
    EXPECT_EQ(outcome.code(), 1) << "connected afresh, read at the first try";
    ravo::sim::forgetSimUnits();
}

// A unit restarted behind a link that stood open: the dead connection is
// noticed before the next request, which connects to the new one.
TEST(WorkTask, AFarEndThatWentAwayIsReplacedBeforeTheNextRequest)
{
    auto unit = defaultUnit();
    auto first = std::make_unique<ServedUnit>(unit);
    const int port = first->port;
    ASSERT_GT(port, 0);
    WorkTask task;
    task.setLinkAddress(tcpAddress(port));
    RecordingEvents events;
    ASSERT_EQ(runToEnd(task, ReadInfoRequest{0x1234, false, true}, events).code(), 1);
    ASSERT_TRUE(task.linkOpen());

    first.reset();
    ServedUnit second(unit, port);
    ASSERT_EQ(second.port, port);
    JobOutcome outcome = runToEnd(task, ReadInfoRequest{0x1234, false, true}, events);
    EXPECT_EQ(outcome.code(), 1) << events.lines().back();
    ASSERT_FALSE(events.linkEvents().empty());
    EXPECT_EQ(events.linkEvents().front().kind, LinkEvent::LinkLost);
    EXPECT_EQ(events.linkEvents().front().reason, "the far end closed the connection");
}

TEST(JobContext, LinesAreCutAt254Characters)
{
    ravo::test::JobBench bench;
    bench.job.line("%s", std::string(400, 'a').c_str());
    EXPECT_EQ(bench.job.lastLine().size(), 254u);
    EXPECT_EQ(bench.events.lines().at(0).size(), 254u);
    bench.stop = true;
    EXPECT_TRUE(bench.job.stopCheck());
    EXPECT_EQ(bench.events.lines().back(), "User stopped....");
}
