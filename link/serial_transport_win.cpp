#include "link/serial_transport.h"

#include <windows.h>

namespace ravo {
namespace {

// A serial IrDA adapter is not offered on Windows, where the IrDA socket
// service reaches the unit: the device is never found, as with a missing cable.
class SerialTransport : public Transport {
public:
    int open(std::string&) override { return 0; }
    int enumerate(DeviceInfo&, std::string&) override { return 0; }
    int connectFirst(std::string&) override { return -6; }
    void close() override {}
    int send(const uint8_t*, int) override { return -1; }
    int receive(uint8_t*, int) override { return -1; }
    int available() override { return 0; }
    bool waitReadable(uint32_t realMs) override
    {
        ::Sleep(realMs);
        return false;
    }
};

}  // namespace

std::unique_ptr<Transport> makeSerialTransport(const LinkAddress&)
{
    return std::make_unique<SerialTransport>();
}

}  // namespace ravo
