#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ravo {

class JobContext;

// Asks the running firmware to restart into its bootloader (forced with
// `forced`), closes the link for the restart and opens it again. 1 entered;
// 0 not acknowledged or stopped (`acknowledged` says whether the unit took
// the request, so whether it may already wait in its bootloader); -1 without
// a link.
int EnterBootloader(JobContext& job, bool forced, bool* acknowledged = nullptr);

// The image of `path` (the built-in one for an empty path), read and checked
// before anything is sent. A refused file gets its line ("File [%s] not
// found", "Firmware file [%s] refused: ...") and false.
bool LoadFirmwareImage(JobContext& job, const std::string& path, std::vector<uint8_t>& image);

// What a download learned of the unit's bootloader.
struct DownloadReport {
    bool bootloaderAnswered = false;  // some chunk had an answer byte
    bool accepted = false;            // some chunk was accepted
};

// Sends `image` to the bootloader, chunk by chunk. 0 finished; -1 no link or
// no image; -2 stopped; -3 link lost before a chunk; -4 read failure while
// waiting for an answer; -6 a chunk failed five times; -7 too many chunk
// errors reported.
int Download(JobContext& job, const std::vector<uint8_t>& image, DownloadReport* report = nullptr);

// Download, then always: the link closed, 2500 ms, the link opened and
// connected again. Returns Download's result.
int DownloadAndReconnect(JobContext& job, const std::vector<uint8_t>& image, DownloadReport* report = nullptr);

// Waits up to `ms` for the bootloader's answer to a chunk: the last byte of
// the first read that brought bytes; -2 when nothing came; -1 when the read
// failed.
int WaitChunkAnswer(JobContext& job, unsigned ms);

// The chunks an image holds (headers up to its end).
int CountChunks(const std::vector<uint8_t>& image);

}  // namespace ravo
