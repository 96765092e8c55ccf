#include "link/irda_transport.h"

#include <winsock2.h>
#include <af_irda.h>
#include <cstring>

namespace ravo {
namespace {

class IrdaTransport : public Transport {
public:
    ~IrdaTransport() override { close(); }

    int open(std::string& error) override
    {
        socket_ = ::socket(AF_IRDA, SOCK_STREAM, 0);
        if (socket_ == INVALID_SOCKET) {
            error = "INVALID socket AF_IRDA, SOCK_STREAM";
            return -2;
        }
        return 0;
    }

    int enumerate(DeviceInfo& first, std::string&) override
    {
        std::memset(&peer_, 0, sizeof peer_);
        peer_.irdaAddressFamily = AF_IRDA;
        std::strncpy(peer_.irdaServiceName, "IrDA:IrCOMM", sizeof peer_.irdaServiceName);
        char buffer[181] = {};
        int size = sizeof buffer;
        if (::getsockopt(socket_, SOL_IRLMP, IRLMP_ENUMDEVICES, buffer, &size) == SOCKET_ERROR) {
            ::WSAGetLastError();
            return -1;
        }
        auto* list = reinterpret_cast<DEVICELIST*>(buffer);
        if (list->numDevice == 0)
            return 0;
        const IRDA_DEVICE_INFO& d = list->Device[0];
        first.clear();
        std::memcpy(first.id, d.irdaDeviceID, 4);
        std::memcpy(first.name, d.irdaDeviceName, sizeof first.name);
        first.hint1 = d.irdaDeviceHints1;
        first.hint2 = d.irdaDeviceHints2;
        first.charset = d.irdaCharSet;
        std::memcpy(peer_.irdaDeviceID, d.irdaDeviceID, 4);
        return int(list->numDevice);
    }

    int connectFirst(std::string&) override
    {
        int nineWire = 1;
        if (::setsockopt(socket_, SOL_IRLMP, IRLMP_9WIRE_MODE, reinterpret_cast<const char*>(&nineWire),
                         sizeof nineWire) == SOCKET_ERROR) {
            ::WSAGetLastError();
            return -5;
        }
        if (::connect(socket_, reinterpret_cast<const sockaddr*>(&peer_), sizeof peer_) == SOCKET_ERROR) {
            ::WSAGetLastError();
            return -6;
        }
        return 0;
    }

    void close() override
    {
        if (socket_ != INVALID_SOCKET)
            ::closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }

    int send(const uint8_t* data, int length) override
    {
        int n = ::send(socket_, reinterpret_cast<const char*>(data), length, 0);
        if (n == SOCKET_ERROR)
            ::WSAGetLastError();
        return n == SOCKET_ERROR ? -1 : n;
    }

    int receive(uint8_t* buffer, int size) override
    {
        int n = ::recv(socket_, reinterpret_cast<char*>(buffer), size, 0);
        if (n == SOCKET_ERROR)
            ::WSAGetLastError();
        return n == SOCKET_ERROR ? -1 : n;
    }

    int available() override
    {
        u_long count = 0;
        return ::ioctlsocket(socket_, FIONREAD, &count) == 0 ? int(count) : 0;
    }

    bool waitReadable(uint32_t realMs) override
    {
        if (socket_ == INVALID_SOCKET) {
            ::Sleep(realMs);  // nothing can arrive; do not let the caller spin
            return false;
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket_, &set);
        timeval tv{long(realMs / 1000), long(realMs % 1000) * 1000};
        return ::select(0, &set, nullptr, nullptr, &tv) > 0 && available() > 0;
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
    SOCKADDR_IRDA peer_{};
};

}  // namespace

std::unique_ptr<Transport> makeIrdaTransport()
{
    return std::make_unique<IrdaTransport>();
}

}  // namespace ravo
