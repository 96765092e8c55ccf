#pragma once
#include "app/frame_ports.h"

namespace ravo {

// Which of the File menu's dive entries may be chosen: the export of the dive
// shown, and the dive report's Print, Print Preview and "Export PDF...".
// Print Setup sets the paper for later and is always there.
struct FileMenuEnabling {
    bool exportDive = false;
    bool report = false;
};

// Both need the dive view showing with a dive in it (`diveShown`).
FileMenuEnabling fileMenuEnabling(FrameView showing, bool diveShown);

}  // namespace ravo
