#include "link/serial_transport.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "link/fd_stream.h"

namespace ravo {
namespace {

speed_t speedFor(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B115200;
    }
}

class SerialTransport : public Transport {
public:
    explicit SerialTransport(const LinkAddress& address) : device_(address.device), baud_(address.baud) {}
    ~SerialTransport() override { close(); }

    int open(std::string&) override { return 0; }

    int enumerate(DeviceInfo& first, std::string&) override
    {
        close();
        // Non-blocking, so that a missing or silent device fails at once.
        fd_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0)
            return 0;
        configure();
        first.clear();
        size_t slash = device_.find_last_of('/');
        first.setName(slash == std::string::npos ? device_ : device_.substr(slash + 1));
        return 1;
    }

    int connectFirst(std::string&) override { return fd_ >= 0 ? 0 : -6; }

    void close() override
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        peerClosed_ = false;
    }

    int send(const uint8_t* data, int length) override
    {
        return fd_ < 0 ? -1 : detail::fdSend(fd_, data, length);
    }

    int receive(uint8_t* buffer, int size) override
    {
        return fd_ < 0 ? -1 : detail::fdReceive(fd_, buffer, size);
    }

    int available() override { return fd_ < 0 ? 0 : detail::fdAvailable(fd_); }

    bool waitReadable(uint32_t realMs) override
    {
        if (fd_ < 0) {
            ::usleep(realMs * 1000);
            return false;
        }
        return detail::fdWaitReadable(fd_, realMs, peerClosed_);
    }

private:
    void configure()
    {
        termios tio{};
        if (::tcgetattr(fd_, &tio) != 0)
            return;  // not a terminal (a plain file or pipe): use it as it is
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
        tio.c_cflag |= CS8 | CLOCAL | CREAD;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::cfsetispeed(&tio, speedFor(baud_));
        ::cfsetospeed(&tio, speedFor(baud_));
        ::tcsetattr(fd_, TCSANOW, &tio);
    }

    std::string device_;
    int baud_;
    int fd_ = -1;
    bool peerClosed_ = false;
};

}  // namespace

std::unique_ptr<Transport> makeSerialTransport(const LinkAddress& address)
{
    return std::make_unique<SerialTransport>(address);
}

}  // namespace ravo
