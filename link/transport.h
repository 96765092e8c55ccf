#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace ravo {

// The device record of the peer the link talks to, as the IrDA device list
// gives it: 4-byte id, 22-byte name (zero padded), two hint bytes, character set.
struct DeviceInfo {
    uint8_t id[4] = {0, 0, 0, 0};
    char name[22] = {};
    uint8_t hint1 = 0;
    uint8_t hint2 = 0;
    uint8_t charset = 0;

    void clear() { *this = DeviceInfo{}; }
    // Copies `text` into the name field, cut to 22 bytes.
    void setName(const std::string& text);
};

// A byte stream to the unit. One implementation per transport (tcp, serial,
// irda, the simulated unit); nothing above the link knows which one it has.
// No call throws; `send`, `receive` and `available` never block for long and
// `receive` and `available` never block at all.
class Transport {
public:
    virtual ~Transport() = default;
    // Acquires what the link needs before looking for a peer. 0, or a negative
    // result with the reason in `error`.
    virtual int open(std::string& error) = 0;
    // Looks for peers; the first one found is described in `first` (and, for
    // stream transports, already reached). -1 failure, 0 none, else the count.
    virtual int enumerate(DeviceInfo& first, std::string& error) = 0;
    // Connects to the peer found by `enumerate`: 0, -5 when the line mode
    // cannot be set, -6 when the connection fails.
    virtual int connectFirst(std::string& error) = 0;
    virtual void close() = 0;
    // Bytes written, or -1.
    virtual int send(const uint8_t* data, int length) = 0;
    // Bytes read (0 when none were waiting), or -1.
    virtual int receive(uint8_t* buffer, int size) = 0;
    // Bytes waiting; 0 when none or when the query fails.
    virtual int available() = 0;
    // Returns as soon as bytes are waiting (true), or after `realMs`
    // milliseconds of real time (false).
    virtual bool waitReadable(uint32_t realMs) = 0;
    // True when the far end has closed the connection (a stream transport
    // whose peer went away); such a link must be opened afresh. Never blocks.
    virtual bool hungUp() { return false; }
};

}  // namespace ravo
