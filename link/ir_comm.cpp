#include "link/ir_comm.h"

#include <cstdio>
#include <cstring>

#include "link/link_address.h"
#include "link/socket_layer.h"

namespace ravo {
namespace {
const char kNotOpen[] = "Winsock not open";
const char kNoSocket[] = "INVALID socket";
const char kNotConnected[] = "No unit connected";
}  // namespace

CIrComm::CIrComm() : address_(defaultLinkAddress())
{
    std::string error;
    socketsReady = startSocketLayer(error);
    lastError = error;
}

CIrComm::~CIrComm()
{
    Close();
    if (socketsReady)
        stopSocketLayer();
}

int CIrComm::Open()
{
    if (transport_) {
        lastError.clear();
        return 0;
    }
    connected = false;
    transportError.clear();
    if (!socketsReady) {
        lastError = kNotOpen;
        return -1;
    }
    std::string error;
    if (trace)
        trace->note("open " + address_);
    auto transport = createTransport(address_, error);
    if (!transport) {
        lastError = error;
        transportError = error;
        if (trace)
            trace->note("open failed: " + error);
        return -2;
    }
    if (transport->open(error) != 0) {
        lastError = error.empty() ? "INVALID socket AF_IRDA, SOCK_STREAM" : error;
        transportError = error;
        return -2;
    }
    transport_ = std::move(transport);
    open_ = true;
    lastError.clear();
    return 0;
}

int CIrComm::Close()
{
    if (!socketsReady) {
        lastError = kNotOpen;
        return -1;
    }
    if (!transport_) {
        lastError = kNoSocket;
        return -2;
    }
    if (trace)
        trace->note("close");
    // Flags first: a concurrent online test sees a closed link, never a
    // transport on its way out.
    connected = false;
    open_ = false;
    transport_->close();
    transport_.reset();
    lastError.clear();
    return 0;
}

int CIrComm::Connect()
{
    if (connected)
        return 0;
    deviceInfo.clear();
    if (!socketsReady) {
        lastError = kNotOpen;
        return -1;
    }
    if (!transport_) {
        lastError = kNoSocket;
        return -2;
    }
    if (EnumerateDevices() <= 0) {
        lastError = "-4:\tno peers discovered/error...";
        if (trace)
            trace->note("no unit found: " + transportError);
        return -4;
    }
    std::string error;
    int r = transport_->connectFirst(error);
    if (r != 0) {
        transportError = error;
        if (trace)
            trace->note("connect failed: " + error);
        return r == -5 ? -5 : -6;
    }
    connected = true;
    if (trace)
        trace->note("connected to " + PeerDescription());
    return 0;
}

int CIrComm::EnumerateDevices()
{
    if (!transport_)
        return -1;
    std::string error;
    DeviceInfo first;
    int count = transport_->enumerate(first, error);
    if (count > 0)
        deviceInfo = first;
    transportError = error;
    return count;
}

bool CIrComm::IsConnected()
{
    if (!socketsReady) {
        lastError = kNotOpen;
        return false;
    }
    if (!open_) {
        lastError = kNoSocket;
        return false;
    }
    if (!connected) {
        lastError = kNotConnected;
        return false;
    }
    return true;
}

bool CIrComm::PeerHungUp()
{
    return transport_ && transport_->hungUp();
}

std::string CIrComm::PeerDescription()
{
    if (!IsConnected())
        return lastError;
    std::string name(deviceInfo.name, strnlen(deviceInfo.name, sizeof deviceInfo.name));
    char text[64];
    std::snprintf(text, sizeof text, " (%02x-%02x-%02x-%02x)", deviceInfo.id[0], deviceInfo.id[1],
                  deviceInfo.id[2], deviceInfo.id[3]);
    return name + text;
}

int CIrComm::Send(const uint8_t* bytes, int length)
{
    if (trace)
        trace->sent(bytes, length, unitFirmwareVersion);
    return transport_ ? transport_->send(bytes, length) : -1;
}

int CIrComm::Receive(uint8_t* buffer, int size)
{
    int got = transport_ ? transport_->receive(buffer, size) : -1;
    if (trace && got > 0)
        trace->received(buffer, got, unitFirmwareVersion);
    return got;
}

int CIrComm::Available()
{
    return transport_ ? transport_->available() : 0;
}

bool CIrComm::WaitReadable(uint32_t ms)
{
    Clock& c = clock();
    uint64_t start = c.nowMs();
    // A peer that hung up sends nothing more: the pause is the clock's alone.
    if (transport_ && !transport_->hungUp() && transport_->waitReadable(c.realMs(ms)))
        return true;
    // A clock whose time runs apart from real time (a virtual one) still
    // moves by the whole wait.
    uint64_t elapsed = c.nowMs() - start;
    if (elapsed < ms)
        c.sleepMs(uint32_t(ms - elapsed));
    return false;
}

}  // namespace ravo
