#include "divedata/partial_log.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "divedata/detail/text_format_p.h"
#include "divedata/text_file.h"

namespace ravo {

std::string PartialMarkPath(const std::string& logPath)
{
    return logPath + ".partial";
}

bool IsMarkedPartial(const std::string& logPath, uint32_t* records)
{
    std::string line;
    if (!ReadFirstLine(PartialMarkPath(logPath), line, 100))
        return false;
    if (records) {
        unsigned held = 0;
        *records = std::sscanf(line.c_str(), "records %u", &held) == 1 ? held : 0;
    }
    return true;
}

int MarkPartial(const std::string& logPath, uint32_t records, uint32_t expected)
{
    return WriteFileReplacing(PartialMarkPath(logPath),
                              detail::textC("records %u of %u\r\n", unsigned(records), unsigned(expected)));
}

void UnmarkPartial(const std::string& logPath)
{
    std::error_code error;
    std::filesystem::remove(PartialMarkPath(logPath), error);
}

}  // namespace ravo
