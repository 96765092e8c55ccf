#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "jobs/job_events.h"
#include "jobs/unit_versions.h"

namespace ravo {

class CIrComm;

// What a job body works with: the link, where it reports, the stop request,
// and what the worker knows of the unit on the link. The worker makes one
// per job; tests make their own around a link of theirs.
class JobContext {
public:
    static constexpr int kLineMax = 254;

    JobContext(CIrComm& link, JobEvents& events, const std::atomic<bool>& stop, std::atomic<bool>& keepLinkOpen,
               UnitVersions& versions);

    CIrComm& link;
    JobEvents& events;
    // The unit's versions as last read since the link connected (all 0 before):
    // the access handshake and the opcode map depend on them.
    UnitVersions& versions;
    // Leave the link open when the job ends.
    std::atomic<bool>& keepLinkOpen;
    // The unit the job addresses.
    uint16_t unitNumber = 0xFFFF;

    // A status line: printf-formatted in the C locale, at most kLineMax characters.
    void line(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // The firmware text, formatted likewise.
    void firmwareLine(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // The last status line of this job.
    const std::string& lastLine() const { return lastLine_; }

    bool stopRequested() const { return stop_.load(); }
    // True, after the line "User stopped....", when a stop was requested.
    bool stopCheck();

    // Records of a log read so far, of `total`; within a batch, counted over
    // the whole batch (batchBefore records before this log, batchTotal in all).
    void logProgress(uint32_t records, uint32_t total);
    uint64_t batchBefore = 0;
    uint64_t batchTotal = 0;
    // Firmware: chunk `chunk` of `chunks` about to go out, `percent` by bytes.
    void firmwareProgress(int chunk, int chunks, int percent);

private:
    const std::atomic<bool>& stop_;
    std::string lastLine_;
};

}  // namespace ravo
