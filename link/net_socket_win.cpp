#include "link/net_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <cstring>
#include <vector>

namespace ravo::net {
namespace {

// Winsock is started once for the process's TCP sockets (the count of
// starts is kept by Winsock, so the link's own start is independent).
void startWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

SOCKET raw(Socket s)
{
    return static_cast<SOCKET>(s);
}

void setNonBlocking(SOCKET s)
{
    u_long on = 1;
    ::ioctlsocket(s, FIONBIO, &on);
}

// Like SOCK_CLOEXEC: a program started meanwhile (the simulator, a test's
// ravo-cli) must not inherit the socket and keep its connection open.
void setNotInherited(SOCKET s)
{
    ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
}

void setNoDelay(SOCKET s)
{
    BOOL one = TRUE;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
}

bool waitWritable(SOCKET s, int timeoutMs)
{
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::select(0, nullptr, &writable, &failed, &tv) > 0 && FD_ISSET(s, &writable);
}

// The connected socket, or INVALID_SOCKET with the Winsock error that says
// why in `error`: read at the failing call, before closesocket() can clear it.
SOCKET connectOne(const addrinfo* ai, int timeoutMs, int& error)
{
    SOCKET s = ::socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol);
    if (s == INVALID_SOCKET) {
        error = ::WSAGetLastError();
        return INVALID_SOCKET;
    }
    setNotInherited(s);
    setNonBlocking(s);
    int r = ::connect(s, ai->ai_addr, int(ai->ai_addrlen));
    error = r == 0 ? 0 : ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
        // A refused connect is signalled in the failed set, with the reason
        // in SO_ERROR; no signal at all is a time-out.
        waitWritable(s, timeoutMs);
        int soError = 0;
        int len = sizeof soError;
        if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &len) != 0)
            soError = ::WSAGetLastError();
        else if (soError == 0 && !waitWritable(s, 0))
            soError = WSAETIMEDOUT;
        error = soError;
    }
    if (error != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    setNoDelay(s);
    return s;
}

// The failed connect's reason in the words the POSIX build gives.
std::string connectError(int error)
{
    switch (error) {
    case WSAECONNREFUSED: return "Connection refused";
    case WSAETIMEDOUT: return "Connection timed out";
    case WSAENETUNREACH: return "Network is unreachable";
    case WSAEHOSTUNREACH: return "No route to host";
    case WSAEADDRNOTAVAIL: return "Cannot assign requested address";
    default: return "no connection (error " + std::to_string(error) + ")";
    }
}

Socket wrap(SOCKET s)
{
    return s == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(s);
}

}  // namespace

Socket connectTcp(const std::string& host, int port, int timeoutMs, uint8_t ipv4[4], std::string* reason)
{
    startWinsock();
    std::memset(ipv4, 0, 4);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0) {
        if (reason)
            *reason = "unknown host " + host;
        return kNoSocket;
    }
    SOCKET s = INVALID_SOCKET;
    int error = 0;
    for (addrinfo* ai = list; ai && s == INVALID_SOCKET; ai = ai->ai_next) {
        s = connectOne(ai, timeoutMs, error);
        if (s != INVALID_SOCKET && ai->ai_family == AF_INET)
            std::memcpy(ipv4, &reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr, 4);
    }
    ::freeaddrinfo(list);
    if (s == INVALID_SOCKET && reason)
        *reason = connectError(error);
    return wrap(s);
}

Socket listenLoopback(int port, int& boundPort, int backlog)
{
    startWinsock();
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return kNoSocket;
    setNotInherited(s);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(uint16_t(port));
    int len = sizeof addr;
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(s, backlog) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::closesocket(s);
        return kNoSocket;
    }
    setNonBlocking(s);
    boundPort = ntohs(addr.sin_port);
    return wrap(s);
}

Socket acceptClient(Socket listener)
{
    if (listener == kNoSocket)
        return kNoSocket;
    SOCKET s = ::accept(raw(listener), nullptr, nullptr);
    if (s == INVALID_SOCKET)
        return kNoSocket;
    setNotInherited(s);
    setNonBlocking(s);
    setNoDelay(s);
    return wrap(s);
}

void closeSocket(Socket s)
{
    if (s == kNoSocket)
        return;
    // The peer sees an orderly end (FIN) after the bytes already sent, as a
    // POSIX close() gives it. (A listener has no connection: shutdown fails
    // harmlessly.)
    ::shutdown(raw(s), SD_SEND);
    ::closesocket(raw(s));
}

int sendAll(Socket s, const uint8_t* data, int length)
{
    int done = 0;
    while (s != kNoSocket && done < length) {
        int n = ::send(raw(s), reinterpret_cast<const char*>(data) + done, length - done, 0);
        if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK) {
            if (!waitWritable(raw(s), 1000))
                break;
            continue;
        }
        if (n <= 0)
            break;
        done += n;
    }
    return done > 0 || length == 0 ? done : -1;
}

int receiveSome(Socket s, uint8_t* buffer, int size)
{
    if (s == kNoSocket)
        return -1;
    int n = ::recv(raw(s), reinterpret_cast<char*>(buffer), size, 0);
    if (n != SOCKET_ERROR)
        return n;
    return ::WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlock : -1;
}

int available(Socket s)
{
    u_long count = 0;
    if (s == kNoSocket || ::ioctlsocket(raw(s), FIONREAD, &count) != 0)
        return 0;
    return int(count);
}

int waitReadable(const Socket* sockets, int count, int timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    int watched = 0;
    for (int i = 0; i < count; ++i)
        if (sockets[i] != kNoSocket) {
            FD_SET(raw(sockets[i]), &readable);
            ++watched;
        }
    if (watched == 0) {
        sleepMs(timeoutMs);
        return -1;
    }
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (::select(0, &readable, nullptr, nullptr, &tv) <= 0)
        return -1;
    for (int i = 0; i < count; ++i)
        if (sockets[i] != kNoSocket && FD_ISSET(raw(sockets[i]), &readable))
            return i;
    return -1;
}

void sleepMs(int ms)
{
    ::Sleep(DWORD(ms < 0 ? 0 : ms));
}

}  // namespace ravo::net
