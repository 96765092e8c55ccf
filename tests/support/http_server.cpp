#include "http_server.h"

#include "support/tcp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace ravo::test {
namespace {

bool sendAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t sent = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += size_t(sent);
    }
    return true;
}

// Waits up to `ms` for `fd` to become readable; true when it did.
bool readable(int fd, int ms)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, ms) > 0;
}

const char* reasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
    }
}

std::string headerValue(const std::string& request, const std::string& name)
{
    size_t at = request.find("\r\n" + name + ":");
    if (at == std::string::npos)
        return {};
    at += name.size() + 3;
    while (at < request.size() && request[at] == ' ')
        ++at;
    return request.substr(at, request.find("\r\n", at) - at);
}

}  // namespace

HttpServer::HttpServer()
{
    listenFd_ = listenOnLoopback(port_, 16);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

HttpServer::~HttpServer()
{
    stop_ = true;
    acceptThread_.join();
    for (std::thread& connection : connections_)
        connection.join();
    ::close(listenFd_);
}

void HttpServer::route(const std::string& path, const HttpRoute& route)
{
    std::lock_guard<std::mutex> lock(mutex_);
    routes_[path] = route;
}

std::string HttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> HttpServer::requestedPaths() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return paths_;
}

std::string HttpServer::lastUserAgent() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return userAgent_;
}

void HttpServer::acceptLoop()
{
    while (!stop_) {
        if (!readable(listenFd_, 20))
            continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        connections_.emplace_back([this, fd] {
            serve(fd);
            ::close(fd);
        });
    }
}

void HttpServer::serve(int fd)
{
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (stop_)
            return;
        if (!readable(fd, 20))
            continue;
        char block[4096];
        ssize_t got = ::recv(fd, block, sizeof block, 0);
        if (got <= 0)
            return;
        request.append(block, size_t(got));
    }
    size_t pathStart = request.find(' ') + 1;
    std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
    HttpRoute route;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        paths_.push_back(path);
        userAgent_ = headerValue(request, "User-Agent");
        auto found = routes_.find(path);
        if (found != routes_.end()) {
            route = found->second;
        } else {
            route.status = 404;
            route.contentType = "text/html";
            route.body = "<html><head><title>404 Not Found</title></head><body>Not Found</body></html>";
        }
    }
    ++requests_;
    switch (route.kind) {
    case HttpRoute::kReply: reply(fd, route); break;
    case HttpRoute::kSilent: stayQuiet(fd); break;
    case HttpRoute::kEndlessChunked: sendEndless(fd); break;
    }
}

void HttpServer::reply(int fd, const HttpRoute& route)
{
    std::string head = "HTTP/1.1 " + std::to_string(route.status) + " " + reasonOf(route.status) + "\r\n";
    head += "Content-Type: " + route.contentType + "\r\n";
    head += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
    if (!route.location.empty())
        head += "Location: " + route.location + "\r\n";
    head += "Connection: close\r\n\r\n";
    sendAll(fd, head + route.body);
}

void HttpServer::stayQuiet(int fd)
{
    // Holds the connection open until the client gives up or the server ends.
    char block[256];
    while (!stop_) {
        if (readable(fd, 20) && ::recv(fd, block, sizeof block, 0) <= 0)
            return;
    }
}

void HttpServer::sendEndless(int fd)
{
    if (!sendAll(fd, "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n"))
        return;
    std::string chunk = "1000\r\n" + std::string(0x1000, 'x') + "\r\n";
    while (!stop_ && sendAll(fd, chunk))
        endlessBytes_ += 0x1000;
}

}  // namespace ravo::test
