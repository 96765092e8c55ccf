#include "jobs/firmware_download.h"

#include <cstdint>
#include <vector>

#include "firmware/firmware_check.h"
#include "firmware/resource_file.h"
#include "jobs/firmware_texts.h"
#include "jobs/job_context.h"
#include "link/ir_comm.h"

namespace ravo {
namespace {

constexpr int kEnterAttempts = 3;
constexpr unsigned kEnterPauseMs = 1000;
constexpr unsigned kRestartStepMs = 2500;
constexpr unsigned kAnswerWaitMs = 2000;
constexpr unsigned kErrorPauseMs = 400;
constexpr unsigned kOtherPauseMs = 200;
constexpr int kChunkAttempts = 5;
constexpr int kErrorBudget = 20;

const char* const kRestartLines[] = {"Enter BL mode...", "Enter BL mode....", "Enter BL mode.....",
                                     "Enter BL mode......"};

std::string elapsedSince(Clock& clock, uint64_t startMs)
{
    return elapsedText((clock.nowMs() - startMs) / 1000);
}

}  // namespace

int EnterBootloader(JobContext& task, bool forced, bool* acknowledgedOut)
{
    CIrComm& link = task.link;
    if (!link.isOpen())
        return -1;
    Clock& clock = link.clock();
    bool acknowledged = false;
    for (int attempt = 1; attempt <= kEnterAttempts && !acknowledged; ++attempt) {
        if (forced)
            task.line("Enter forced BL mode %d", attempt);
        else
            task.line("Enter BL mode %d", attempt);
        clock.sleepMs(kEnterPauseMs);
        acknowledged = link.EnterBootloader(forced) == 1;
    }
    task.line("Bootloader timeout...");
    if (acknowledgedOut)
        *acknowledgedOut = acknowledged;
    if (!acknowledged)
        return 0;

    link.Close();
    for (const char* text : kRestartLines) {
        task.line("%s", text);
        clock.sleepMs(kRestartStepMs);
        if (task.stopCheck())
            return 0;
    }
    link.Open();
    link.Connect();
    return 1;
}

int WaitChunkAnswer(JobContext& task, unsigned ms)
{
    CIrComm& link = task.link;
    Clock& clock = link.clock();
    uint64_t deadline = clock.nowMs() + ms;
    uint8_t buffer[1024];
    for (;;) {
        if (link.Available() > 0) {
            int got = link.Receive(buffer, sizeof buffer);
            if (got < 0)
                return -1;
            if (got > 0) {
                link.notifyReply();
                return buffer[got - 1];
            }
        }
        uint64_t now = clock.nowMs();
        if (now >= deadline)
            return -2;
        // Sleeps until bytes come instead of looking every millisecond.
        link.WaitReadable(uint32_t(deadline - now));
    }
}

bool LoadFirmwareImage(JobContext& task, const std::string& path, std::vector<uint8_t>& image)
{
    image.clear();
    if (path.empty()) {
        // No image is built into this program: the load fails.
        CResourceEncFile builtIn;
        if (builtIn.LoadFromResource(nullptr, kBuiltInFirmwareName, kBuiltInFirmwareType) && builtIn.Load())
            image.assign(builtIn.image(), builtIn.image() + builtIn.imageLength());
        FirmwareFileCheck check = checkFirmwareImage(image);
        if (!check.ok()) {
            image.clear();
            task.line("No firmware file chosen");
        }
        return check.ok();
    }
    FirmwareFileCheck check = loadFirmwareFile(path, image);
    if (!check.ok())
        task.line("%s", firmwareFileLine(path, check).c_str());
    return check.ok();
}

int CountChunks(const std::vector<uint8_t>& image)
{
    int chunks = 0;
    for (size_t offset = 0; image.size() >= 2 && offset <= image.size() - 2; ++chunks)
        offset += 2 + ((size_t(image[offset]) << 8) | image[offset + 1]);
    return chunks;
}

int Download(JobContext& task, const std::vector<uint8_t>& bytes, DownloadReport* report)
{
    DownloadReport local;
    DownloadReport& heard = report ? *report : local;
    heard = DownloadReport{};
    CIrComm& link = task.link;
    if (bytes.empty())
        return -1;
    const uint8_t* image = bytes.data();
    const size_t length = bytes.size();
    const int chunks = CountChunks(bytes);

    Clock& clock = link.clock();
    const uint64_t startMs = clock.nowMs();
    size_t offset = 0;
    int chunkNumber = 0;
    int budget = kErrorBudget;
    bool accepted = false;
    while (length >= 2 && offset <= length - 2) {
        size_t chunkLength = (size_t(image[offset]) << 8) | image[offset + 1];
        const uint8_t* chunk = image + offset + 2;
        offset += 2 + chunkLength;
        ++chunkNumber;
        if (offset > length)
            return -1;  // a damaged image; the loader refuses them before anything is sent

        int percent = int(uint64_t(offset) * 100 / length);
        task.line("Download firmware %d%% (%s)", percent, elapsedSince(clock, startMs).c_str());
        task.firmwareProgress(chunkNumber, chunks, percent);

        if (task.stopRequested()) {
            task.line("User stopped...");
            return -2;
        }
        if (!link.IsConnected()) {
            task.line("Connection lost...");
            return -3;
        }
        if (chunkLength == 0)
            continue;

        // The chunk frame carries 15 bits of length.
        const int sendLength = int(chunkLength & 0x7FFF);
        for (int attempt = 1;; ++attempt) {
            link.SendChunk(chunk, sendLength);
            int answer = WaitChunkAnswer(task, kAnswerWaitMs);
            if (answer == -1) {
                task.line("Connection lost...");
                return -4;
            }
            if (answer >= 0)
                heard.bootloaderAnswered = true;
            if (answer == kChunkAccepted) {
                accepted = true;
                heard.accepted = true;
                ++budget;
                break;
            }
            uint8_t shown = answer < 0 ? kNoAnswer : uint8_t(answer);
            task.line("%s", chunkAnswerLine(shown, chunkNumber).c_str());
            if (answer == kChunkError) {
                clock.sleepMs(kErrorPauseMs);
                if (--budget <= 0)
                    return -7;
            } else {
                clock.sleepMs(kOtherPauseMs);
            }
            if (attempt >= kChunkAttempts)
                return -6;
        }
    }

    if (accepted) {
        task.firmwareLine("Download firmware total %s", elapsedSince(clock, startMs).c_str());
        task.line("Done..");
        // The unit now runs other firmware: no stale version may be shown or used.
        task.versions.clear();
    }
    return 0;
}

int DownloadAndReconnect(JobContext& task, const std::vector<uint8_t>& image, DownloadReport* report)
{
    int result = Download(task, image, report);
    CIrComm& link = task.link;
    link.Close();
    link.clock().sleepMs(kRestartStepMs);
    link.Open();
    link.Connect();
    return result;
}

}  // namespace ravo
