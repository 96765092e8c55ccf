#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "link/guarded_text.h"
#include "link/irda_cmd.h"
#include "link/irda_util.h"
#include "link/link_trace.h"
#include "link/transport.h"

namespace ravo {

// The unit link. Results are 0 or a small negative number with the reason in
// `lastError`; nothing throws. One thread at a time uses it, with one
// exception: IsConnected (the user interface's online test) may run on
// another thread while a job uses the link; it looks only at flags and
// touches only the guarded lastError.
class CIrComm : public irda_cmd, public irda_util {
public:
    CIrComm();
    ~CIrComm() override;
    CIrComm(const CIrComm&) = delete;
    CIrComm& operator=(const CIrComm&) = delete;

    // Where the next Open finds the unit (see link_address.h); the open link
    // keeps the transport it has until Close.
    void setAddress(const std::string& address) { address_ = address; }
    const std::string& address() const { return address_; }

    int Open();
    int Close();
    int Connect();
    int EnumerateDevices();
    bool IsConnected();
    std::string PeerDescription();
    // True when the link is open but its far end has closed the connection.
    bool PeerHungUp();

    int Send(const uint8_t* bytes, int length) override;
    int Receive(uint8_t* buffer, int size) override;
    int Available() override;
    bool WaitReadable(uint32_t ms) override;

    uint16_t linkUnitNumber() const override { return unitNumber; }
    uint32_t linkFirmwareVersion() const override { return unitFirmwareVersion; }
    void setLinkFirmwareVersion(uint32_t version) override { unitFirmwareVersion = version; }

    GuardedText lastError;
    // The transport's own reason for the last failed open, search or connect
    // ("Connection refused"); the link's texts above keep their wording.
    std::string transportError;
    bool socketsReady = false;
    DeviceInfo deviceInfo;
    std::atomic<bool> connected{false};

    bool isOpen() const { return open_; }

    // When set, every byte written and read and every open, connect and
    // close is written to this trace.
    std::shared_ptr<LinkTrace> trace;

private:
    std::string address_;
    std::unique_ptr<Transport> transport_;
    // transport_ != null, readable from any thread while the owner replaces it.
    std::atomic<bool> open_{false};
};

}  // namespace ravo
