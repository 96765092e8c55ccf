#pragma once
#include <cstdint>
#include <string>

namespace ravo::net {

// TCP sockets on the platform's socket service, for the TCP link, the
// simulated unit's server and the test peers. Every socket made here does
// not block; no call throws. The platform's errors are mapped here, once.
using Socket = std::intptr_t;
inline constexpr Socket kNoSocket = -1;
inline constexpr int kWouldBlock = -2;

// Connects to `host`:`port` within `timeoutMs`. The socket, or kNoSocket when
// the name is unknown, the peer refuses or does not answer in time, with the
// reason in `reason` when given ("Connection refused"). `ipv4` receives the
// peer's IPv4 address bytes (zeros for IPv6).
Socket connectTcp(const std::string& host, int port, int timeoutMs, uint8_t ipv4[4], std::string* reason = nullptr);
// Listens on 127.0.0.1:`port` (0 picks a free one, stored in `boundPort`).
Socket listenLoopback(int port, int& boundPort, int backlog = 8);
// A connection waiting on `listener` (TCP_NODELAY set), or kNoSocket.
Socket acceptClient(Socket listener);
void closeSocket(Socket s);

// Writes all of `data`, waiting up to a second at a time while the peer's
// window is full. The bytes written, or -1 when none could be.
int sendAll(Socket s, const uint8_t* data, int length);
// Reads what is waiting: the bytes read, 0 when the peer closed its end,
// kWouldBlock when nothing is waiting, -1 on a failure.
int receiveSome(Socket s, uint8_t* buffer, int size);
// Bytes waiting to be read; 0 when none or when the query fails.
int available(Socket s);
// Waits until one of `sockets` is readable (data, a connection to accept or
// the peer's close): its index, or -1 after `timeoutMs`. With no sockets it
// just sleeps.
int waitReadable(const Socket* sockets, int count, int timeoutMs);
void sleepMs(int ms);

}  // namespace ravo::net
