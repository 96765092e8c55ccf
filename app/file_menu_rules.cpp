#include "app/file_menu_rules.h"

namespace ravo {

FileMenuEnabling fileMenuEnabling(FrameView showing, bool diveShown)
{
    const bool dive = showing == VIEW_DIVE && diveShown;
    return FileMenuEnabling{dive, dive};
}

}  // namespace ravo
