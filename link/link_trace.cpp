#include "link/link_trace.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "link/bootloader_answers.h"
#include "link/c_format.h"
#include "link/frame_format.h"
#include "link/hex_bytes.h"
#include "link/unit_commands.h"
#include "link/unit_time.h"

namespace ravo {
namespace {

// Now in UTC to the millisecond.
std::string timeStamp()
{
    using namespace std::chrono;
    const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return FormatUnitTime(unitTimeFromUnix(ms / 1000)) + formatC(".%03d", int(ms % 1000));
}

const char* answerMeaning(uint8_t answer)
{
    switch (answer) {
    case kChunkAccepted: return "accepted";
    case kChunkCrcError: return "CRC error";
    case kChunkError: return "error in chunk";
    case kChunkExitError: return "error exiting bootloader";
    default: return "unknown answer";
    }
}

}  // namespace

LinkTrace::~LinkTrace()
{
    close();
}

bool LinkTrace::close()
{
    if (!file_)
        return !writeFailed_;
    flushUnframed();
    if (std::fclose(file_) != 0 && !writeFailed_) {
        writeFailed_ = true;
        writeError_ = std::strerror(errno ? errno : EIO);
    }
    file_ = nullptr;
    return !writeFailed_;
}

bool LinkTrace::open(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "Can not write the trace file " + path + ": " + std::strerror(errno);
        return false;
    }
    if (file_)
        std::fclose(file_);
    file_ = file;
    write("trace start");
    return true;
}

void LinkTrace::write(const std::string& text)
{
    if (!file_ || writeFailed_)
        return;
    errno = 0;
    const std::string line = timeStamp() + " " + text + "\n";
    // Flushed line by line: a trace matters most when the program dies.
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
        writeFailed_ = true;
        writeError_ = std::strerror(errno ? errno : EIO);
    }
}

void LinkTrace::note(const std::string& text)
{
    flushUnframed();
    write("-- " + text);
}

std::string LinkTrace::frameText(const char* direction, const std::vector<uint8_t>& wire, const UnitReply& frame,
                                 const std::string& name)
{
    return formatC("%s %s unit %04X len %d | ", direction, name.c_str(), unsigned(frame.unitNumber), frame.length) +
           hexBytes(wire);
}

std::string LinkTrace::nameOf(const UnitReply& frame, uint32_t firmwareVersion, bool reply) const
{
    if (reply && frame.opcode == kAckOpcode)
        return "ACK";
    if (reply && frame.opcode == kChallengeOpcode)
        return "CHALLENGE";
    if (reply && frame.opcode == lastRequestOpcode_)
        return lastRequestName_;
    std::string names;
    for (UnitCommand command : commandsWithOpcode(frame.opcode, firmwareVersion)) {
        if (!names.empty())
            names += '/';
        names += unitCommandName(command);
    }
    return names.empty() ? formatC("opcode %u", unsigned(frame.opcode)) : names;
}

void LinkTrace::flushUnframed()
{
    if (pending_.empty())
        return;
    std::vector<uint8_t> bytes;
    bytes.swap(pending_);
    receive_.clear();
    write(formatC("RX %u bytes without a valid frame | ", unsigned(bytes.size())) + hexBytes(bytes));
}

void LinkTrace::sent(const uint8_t* bytes, int length, uint32_t firmwareVersion)
{
    if (!file_ || length <= 0)
        return;
    flushUnframed();
    std::vector<uint8_t> wire(bytes, bytes + length);
    if (bytes[0] != kFrameStart) {
        // The chunk frame: two length bytes, high first, then the chunk.
        bootloader_ = true;
        int chunkLength = length >= 2 ? ((bytes[0] & 0x7F) << 8 | bytes[1]) : 0;
        write(formatC("TX BOOTLOADER_CHUNK %d len %d | ", ++chunkNumber_, chunkLength) + hexBytes(wire));
        return;
    }
    bootloader_ = false;
    chunkNumber_ = 0;
    FrameReceiveState decoder;
    UnitReply frame;
    bool whole = false;
    for (uint8_t b : wire)
        whole = decoder.feed(b, frame) || whole;
    if (!whole) {
        write(std::string("TX bytes | ") + hexBytes(wire));
        return;
    }
    lastRequestOpcode_ = frame.opcode;
    lastRequestName_ = nameOf(frame, firmwareVersion, false);
    write(frameText("TX", wire, frame, lastRequestName_));
}

void LinkTrace::received(const uint8_t* bytes, int length, uint32_t firmwareVersion)
{
    if (!file_ || length <= 0)
        return;
    if (bootloader_ && pending_.empty() && bytes[0] != kFrameStart) {
        for (int i = 0; i < length; ++i)
            write(formatC("RX BOOTLOADER_ANSWER %02X ", unsigned(bytes[i])) + answerMeaning(bytes[i]));
        return;
    }
    for (int i = 0; i < length; ++i) {
        pending_.push_back(bytes[i]);
        UnitReply frame;
        if (!receive_.feed(bytes[i], frame))
            continue;
        std::vector<uint8_t> wire;
        wire.swap(pending_);
        write(frameText("RX", wire, frame, nameOf(frame, firmwareVersion, true)));
    }
}

}  // namespace ravo
