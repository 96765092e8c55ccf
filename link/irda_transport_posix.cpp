#include "link/irda_transport.h"

namespace ravo {
namespace {

// No IrDA socket service here: the link fails to open as it does on a PC
// without an IrDA port.
class IrdaTransport : public Transport {
public:
    int open(std::string& error) override
    {
        error = "INVALID socket AF_IRDA, SOCK_STREAM";
        return -2;
    }
    int enumerate(DeviceInfo&, std::string&) override { return -1; }
    int connectFirst(std::string&) override { return -6; }
    void close() override {}
    int send(const uint8_t*, int) override { return -1; }
    int receive(uint8_t*, int) override { return -1; }
    int available() override { return 0; }
    bool waitReadable(uint32_t) override { return false; }
};

}  // namespace

std::unique_ptr<Transport> makeIrdaTransport()
{
    return std::make_unique<IrdaTransport>();
}

}  // namespace ravo
