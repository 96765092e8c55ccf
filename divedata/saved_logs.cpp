#include "divedata/saved_logs.h"

namespace ravo {

int ListSavedDiveLogs(const std::string&, std::vector<std::string>& names)
{
    names.clear();
    return 0;
}

}  // namespace ravo
