#include "divedata/sample_csv.h"

#include <algorithm>
#include <cstdint>

#include "divedata/text_file.h"
#include "link/c_format.h"

namespace ravo {
namespace {

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A field read as strtoul reads it: leading white space, an optional sign
// (a minus negates modulo 2^64), digits up to the first other character.
uint64_t readUnsigned(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    uint64_t value = 0;
    bool overflow = false;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        uint64_t digit = uint64_t(*p - '0');
        if (value > (UINT64_MAX - digit) / 10)
            overflow = true;
        value = value * 10 + digit;
    }
    if (overflow)
        return UINT64_MAX;
    return negative ? uint64_t(0) - value : value;
}

// One trimmed, non-empty line; read in place, as a large file has millions.
CDiveDataRecord parseLine(const char* line, const char* end)
{
    const char* from[3] = {line, line, line};
    const char* to[3] = {line, line, line};
    int count = 0;
    const char* at = line;
    while (count < 3) {
        const char* comma = std::find(at, end, ',');
        if (comma > at) {
            from[count] = at;
            to[count] = comma;
            ++count;
        }
        if (comma == end)
            break;
        at = comma + 1;
    }
    return CDiveDataRecord{uint16_t(readUnsigned(from[0], to[0])), uint8_t(readUnsigned(from[1], to[1])),
                           uint8_t(readUnsigned(from[2], to[2]))};
}

}  // namespace

std::string FormatSamplesCsv(const std::vector<CDiveDataRecord>& samples)
{
    std::string out;
    out.reserve(samples.size() * 12);
    char line[32];
    for (const CDiveDataRecord& s : samples) {
        formatC(line, sizeof line, "%u,%u,%u\r\n", unsigned(s.time), unsigned(s.kind), unsigned(s.value));
        out += line;
    }
    return out;
}

int SaveSamplesCsv(const std::string& path, const std::vector<CDiveDataRecord>& samples, FileMessages* messages)
{
    std::string reason;
    if (WriteFileReplacing(path, FormatSamplesCsv(samples), &reason) != 0) {
        reportFileError(messages, FileErrorText("SaveSamplesCsv - Error, can not open file for writing", path, reason));
        return -1;
    }
    return 0;
}

void ParseSamplesText(const std::string& content, std::vector<CDiveDataRecord>& samples)
{
    // A sample line is about a dozen bytes.
    samples.reserve(samples.size() + content.size() / 12);
    const char* at = content.data();
    const char* const stop = at + content.size();
    while (at < stop) {
        const char* end = std::find(at, stop, '\n');
        const char* first = at;
        const char* last = end;
        while (first < last && isTrimmed(*first))
            ++first;
        while (last > first && isTrimmed(last[-1]))
            --last;
        if (last > first)
            samples.push_back(parseLine(first, last));
        at = end + 1;
    }
}

int FirstForeignSampleLine(const std::string& content)
{
    int number = 0;
    size_t at = 0;
    while (at < content.size()) {
        size_t end = content.find('\n', at);
        if (end == std::string::npos)
            end = content.size();
        ++number;
        bool digits = false;
        bool blank = true;
        for (size_t i = at; i < end; ++i) {
            char c = content[i];
            if (isTrimmed(c))
                continue;
            blank = false;
            if (c >= '0' && c <= '9')
                digits = true;
            else if (c != ',' && c != '+' && c != '-')
                return number;
        }
        if (!blank && !digits)
            return number;
        at = end + 1;
    }
    return 0;
}

SampleFileCheck CheckSampleFile(const std::string& path)
{
    SampleFileCheck check;
    std::string content;
    RegularFileCheck read;
    if (!ReadRegularFile(path, kSampleFileMaxBytes, content, &read)) {
        check.missing = read.missing;
        check.problem = "Can not read " + path + " (" + read.reason + ")";
        return check;
    }
    if (int line = FirstForeignSampleLine(content)) {
        check.problem = path + " is not a dive log sample file (line " + std::to_string(line) + " holds no samples)";
        return check;
    }
    if (content.find_first_not_of(" \t\r\n") == std::string::npos) {
        check.problem = path + " holds no samples";
        return check;
    }
    check.ok = true;
    return check;
}

int ReadSamplesCsv(const std::string& path, std::vector<CDiveDataRecord>& samples)
{
    samples.clear();
    std::string content;
    if (!ReadWholeFile(path, content))
        return -1;
    ParseSamplesText(content, samples);
    return 0;
}

}  // namespace ravo
