#pragma once
#include <cstdint>
#include <vector>

namespace ravo {

class WorkTask;

// The result of the firmware and recovery jobs when they ended before their
// main step (versions not read, low battery, bootloader not entered, stopped).
inline constexpr int kJobEndedEarly = -10;

// Asks the running firmware to restart into its bootloader (forced when the
// worker's forcedBootloader is set), closes the link for the restart and
// opens it again. 1 entered; 0 not acknowledged or stopped; -1 without a link.
int EnterBootloader(WorkTask& task);

// The image of the worker's firmwarePath (the built-in one for an empty
// path), read and checked before anything is sent. A refused file gets its
// line ("File [%s] not found", "Firmware file [%s] refused: ...") and false.
bool LoadFirmwareImage(WorkTask& task, std::vector<uint8_t>& image);

// Sends `image` to the bootloader, chunk by chunk. 0 finished; -1 no link or
// no image; -2 stopped; -3 link lost before a chunk; -4 read failure while
// waiting for an answer; -6 a chunk failed five times; -7 too many chunk
// errors reported.
int Download(WorkTask& task, const std::vector<uint8_t>& image);
// LoadFirmwareImage, then the download: -1 for a refused file.
int Download(WorkTask& task);

// Download, then always: the link closed, 2500 ms, the link opened and
// connected again, progress back to 0. Returns Download's result.
int DownloadAndReconnect(WorkTask& task, const std::vector<uint8_t>& image);

// Waits up to `ms` for the bootloader's answer to a chunk: the last byte of
// the first read that brought bytes; -2 when nothing came; -1 when the read
// failed.
int WaitChunkAnswer(WorkTask& task, unsigned ms);

}  // namespace ravo
