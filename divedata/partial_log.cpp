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

bool ReadPartialMark(const std::string& logPath, PartialMark* mark)
{
    std::string line;
    if (!ReadFirstLine(PartialMarkPath(logPath), line, 100)) {
        // A mark that is there but cannot be read (a pipe, a folder) still marks the log.
        if (!PathExists(PartialMarkPath(logPath)))
            return false;
    }
    if (mark) {
        unsigned held = 0;
        unsigned expected = 0;
        int fields = std::sscanf(line.c_str(), "records %u of %u", &held, &expected);
        mark->records = fields >= 1 ? held : 0;
        mark->expected = fields == 2 ? expected : 0;
    }
    return true;
}

bool IsMarkedPartial(const std::string& logPath, uint32_t* records)
{
    PartialMark mark;
    if (!ReadPartialMark(logPath, &mark))
        return false;
    if (records)
        *records = mark.records;
    return true;
}

int MarkPartial(const std::string& logPath, uint32_t records, uint32_t expected, std::string* reason)
{
    return WriteFileReplacing(PartialMarkPath(logPath),
                              detail::textC("records %u of %u\r\n", unsigned(records), unsigned(expected)), reason);
}

void UnmarkPartial(const std::string& logPath)
{
    std::error_code error;
    std::filesystem::remove(PartialMarkPath(logPath), error);
}

}  // namespace ravo
