#include <gtest/gtest.h>

#include "app/unit_log_view_state.h"

namespace ravo::test {
namespace {

// Under an idle list: how the last download ended and which entries the unit
// did not give; "every dive is saved" only for a directory read whole.
TEST(UnitLogViewState, UnreadEntriesAreNamedAndNeverAllSaved)
{
    FrameState frame;
    frame.dives = {LogKind::Dive, 0x1234, std::vector<CDiveInfo>(4), {1, 3}};
    frame.redbox = {LogKind::Redbox, 0x1234, std::vector<CDiveInfo>(1), {0}};
    EXPECT_EQ(unitLogViewState(frame, LogKind::Dive).lastResult,
              "Dive entries 1, 3 could not be read from the unit");
    EXPECT_EQ(unitLogViewState(frame, LogKind::Redbox).lastResult, "Redbox entry 0 could not be read from the unit");
    EXPECT_EQ(nothingNewText(frame.dives), "Every dive listed is saved; Dive entries 1, 3 could not be read from the unit");

    frame.diveDownloadNote = "The last download ended early: its dive is marked incomplete";
    EXPECT_EQ(unitLogViewState(frame, LogKind::Dive).lastResult,
              "The last download ended early: its dive is marked incomplete; "
              "Dive entries 1, 3 could not be read from the unit");

    frame.job = JobStatus{true, JobKind::DiveDirectory, {}, false};
    EXPECT_EQ(unitLogViewState(frame, LogKind::Dive).lastResult, "") << "nothing of the old list while it is read";

    frame.dives.unread.clear();
    EXPECT_EQ(nothingNewText(frame.dives), "Every dive is saved");

    frame.dives.countRead = false;
    EXPECT_EQ(nothingNewText(frame.dives),
              "Every dive listed is saved; The number of dives could not be read from the unit: none is listed");
}

}  // namespace
}  // namespace ravo::test
