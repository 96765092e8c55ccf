#pragma once
#include <cstdint>
#include <string>

#include "app/frame_state.h"

namespace ravo {

// What a unit log list view shows besides the rows, from the frame's state.
struct UnitLogViewState {
    bool directoryBeingRead = false;  // the list shows nothing until it is read
    bool downloading = false;         // a log download of this view's kind runs
    bool idle = true;                 // no job runs: requests may be made
    bool progressShown = false;       // the download has reported how far it is
    uint32_t records = 0;             // read so far (of the whole batch)
    uint32_t total = 0;
    std::string progressText;         // "Records 300 of 1200" while downloading
    std::string lastResult;           // idle: how the last download of this kind ended, when not whole
};

UnitLogViewState unitLogViewState(const FrameState& state, LogKind kind);

}  // namespace ravo
