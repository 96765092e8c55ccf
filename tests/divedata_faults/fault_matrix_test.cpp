// Log downloads under the simulated unit's link faults, through the real
// worker and link, on a virtual clock: every log arrives byte for byte or is
// reported incomplete, and no run outlasts its bound.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "link/clock.h"
#include "sim/sim_fault_matrix.h"

namespace ravo::sim {
namespace {

TEST(LogFaultMatrix, EveryLogIsTheUnitsOrReportedIncomplete)
{
    ManualClock clock;
    std::vector<FaultRun> rows = runLogFaultMatrix({1, 2, 3}, clock);
    std::map<std::string, std::set<std::string>> outcomes;
    for (const FaultRun& run : rows) {
        EXPECT_TRUE(run.sound()) << run.fault << " seed " << run.seed << (run.dive ? " dive " : " redbox ")
                                 << run.index << ": result " << run.jobResult << ", identical " << run.identical
                                 << ", " << run.seconds << " s of " << run.boundSeconds;
        outcomes[run.fault].insert(run.resultText());
    }
    EXPECT_EQ(rows.size(), linkFaultCases().size() * 3 * 3);
    // The retries mend every fault but the dropped link for the dives at least.
    for (const char* fault : {"none", "noise", "split", "corrupt", "ignore", "short"})
        EXPECT_TRUE(outcomes[fault].count("complete")) << fault;
    EXPECT_EQ(outcomes["none"], std::set<std::string>{"complete"});
    EXPECT_TRUE(outcomes["drop"].count("incomplete"));
}

// Directory reads with the downloads after them, and settings restores, under
// every fault for two seeds: nothing missing goes unnamed, and success is
// never said for work not done.
TEST(LogFaultMatrix, DownloadsOfNewDivesAndRestoresNeverDropSilentlyNorClaimSuccess)
{
    ManualClock clock;
    std::map<FaultVerdict, int> dives, restores;
    for (const DirectoryFaultRun& run : runDirectoryFaultMatrix({1, 2}, clock)) {
        ++dives[run.verdict()];
        EXPECT_TRUE(run.verdict() == FaultVerdict::Complete || run.verdict() == FaultVerdict::ReportedIncomplete)
            << run.fault << " seed " << run.seed << ": " << verdictText(run.verdict());
    }
    for (const RestoreFaultRun& run : runRestoreFaultMatrix({1, 2}, clock)) {
        ++restores[run.verdict()];
        EXPECT_TRUE(run.verdict() == FaultVerdict::Complete || run.verdict() == FaultVerdict::ReportedIncomplete)
            << run.fault << " seed " << run.seed << (run.fromFirstWrite ? " on the writes: " : ": ")
            << verdictText(run.verdict());
    }
    // Both ends are reached: whole runs, and runs that name what is missing.
    EXPECT_GT(dives[FaultVerdict::Complete], 0);
    EXPECT_GT(dives[FaultVerdict::ReportedIncomplete], 0);
    EXPECT_GT(restores[FaultVerdict::Complete], 0);
    EXPECT_GT(restores[FaultVerdict::ReportedIncomplete], 0);
}

}  // namespace
}  // namespace ravo::sim
