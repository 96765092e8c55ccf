#include "jobs/log_directory_text.h"

#include "divedata/log_list_rows.h"

namespace ravo {

std::string DirectoryGapText(const LogDirectory& directory)
{
    const bool redbox = directory.kind == LogKind::Redbox;
    if (!directory.countRead)
        return UnreadCountText(redbox);
    return UnreadEntriesText(directory.unread, redbox);
}

}  // namespace ravo
