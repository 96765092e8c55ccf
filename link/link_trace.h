#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "link/frame_receive.h"

namespace ravo {

// The protocol trace of a link: every frame written and read, as the link
// sees them, one line each with a UTC time stamp in milliseconds, the
// direction, what the frame is (the command's name, the unit number and the
// payload length) and its bytes in hex; bootloader chunks and the
// bootloader's answer bytes likewise; and the link's own steps (open,
// connect, close). For a support request: a reader can follow a download
// request by request.
//
//   2026-12-09 13:45:01.123 TX UNIT_CMD_GET_VERSIONS unit 1234 len 0 | FA 34 12 05 00 10 FC
//   2026-12-09 13:45:01.130 RX UNIT_CMD_GET_VERSIONS unit 1234 len 15 | FA 34 12 05 0F ...
class LinkTrace {
public:
    LinkTrace() = default;
    ~LinkTrace();
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // Starts a trace in `path`, replacing the file. False, with the reason
    // in `error`, when it cannot be written.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file_ != nullptr; }
    // Writes what is pending and closes the file; false when any line could
    // not be written.
    bool close();
    // Set once a line could not be written (a full disk): the trace is cut
    // there and says so in `writeError` ("No space left on device"). Read it
    // after the link's jobs have ended.
    bool writeFailed() const { return writeFailed_; }
    const std::string& writeError() const { return writeError_; }

    // Bytes the link wrote; `firmwareVersion` picks the opcode map the names
    // come from.
    void sent(const uint8_t* bytes, int length, uint32_t firmwareVersion);
    // Bytes the link read, in whatever pieces they came.
    void received(const uint8_t* bytes, int length, uint32_t firmwareVersion);
    // A step of the link ("open tcp:127.0.0.1:4711").
    void note(const std::string& text);

    // The text of one line after its time stamp, for a frame.
    static std::string frameText(const char* direction, const std::vector<uint8_t>& wire, const UnitReply& frame,
                                 const std::string& name);

private:
    void write(const std::string& text);
    void flushUnframed();
    std::string nameOf(const UnitReply& frame, uint32_t firmwareVersion, bool reply) const;

    std::FILE* file_ = nullptr;
    bool writeFailed_ = false;
    std::string writeError_;
    FrameReceiveState receive_;
    std::vector<uint8_t> pending_;  // read bytes not yet shown
    int lastRequestOpcode_ = -1;
    std::string lastRequestName_;
    bool bootloader_ = false;  // the last write was a chunk: answers are single bytes
    int chunkNumber_ = 0;
};

}  // namespace ravo
