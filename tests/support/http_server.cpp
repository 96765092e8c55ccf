#include "http_server.h"

#include "support/tcp_peer.h"

#include <cstring>

namespace ravo::test {
namespace {

// Writes all of `data` unless the client has gone or the server ends (a full
// window only waits).
bool sendAll(net::Socket s, const std::string& data, const std::atomic<bool>& stop)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    size_t done = 0;
    while (done < data.size()) {
        if (stop)
            return false;
        int n = net::sendAll(s, bytes + done, int(data.size() - done));
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        uint8_t probe;
        int got = net::receiveSome(s, &probe, 1);
        if (got == 0 || got == -1)
            return false;
    }
    return true;
}

// Waits up to `ms` for `s` to become readable; true when it did.
bool readable(net::Socket s, int ms)
{
    return net::waitReadable(&s, 1, ms) == 0;
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
    listener_ = listenOnLoopback(port_, 16);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

HttpServer::~HttpServer()
{
    stop_ = true;
    acceptThread_.join();
    for (std::thread& connection : connections_)
        connection.join();
    net::closeSocket(listener_);
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
        if (!readable(listener_, 20))
            continue;
        net::Socket s = net::acceptClient(listener_);
        if (s == net::kNoSocket)
            continue;
        connections_.emplace_back([this, s] {
            serve(s);
            net::closeSocket(s);
        });
    }
}

void HttpServer::serve(net::Socket fd)
{
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (stop_)
            return;
        if (!readable(fd, 20))
            continue;
        char block[4096];
        int got = net::receiveSome(fd, reinterpret_cast<uint8_t*>(block), sizeof block);
        if (got == net::kWouldBlock)
            continue;
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
    case HttpRoute::kTrickle: trickle(fd, route); break;
    }
}

void HttpServer::reply(net::Socket fd, const HttpRoute& route)
{
    std::string head = "HTTP/1.1 " + std::to_string(route.status) + " " + reasonOf(route.status) + "\r\n";
    head += "Content-Type: " + route.contentType + "\r\n";
    head += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
    if (!route.location.empty())
        head += "Location: " + route.location + "\r\n";
    head += "Connection: close\r\n\r\n";
    sendAll(fd, head + route.body, stop_);
}

void HttpServer::stayQuiet(net::Socket fd)
{
    // Holds the connection open until the client gives up or the server ends.
    uint8_t block[256];
    while (!stop_) {
        if (!readable(fd, 20))
            continue;
        int got = net::receiveSome(fd, block, sizeof block);
        if (got == 0 || got == -1)
            return;
    }
}

void HttpServer::trickle(net::Socket fd, const HttpRoute& route)
{
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: " + route.contentType + "\r\nContent-Length: " +
                       std::to_string(route.body.size()) + "\r\nConnection: close\r\n\r\n";
    if (!sendAll(fd, head, stop_))
        return;
    for (char c : route.body) {
        for (int waited = 0; waited < route.gapMs && !stop_; waited += 10)
            net::sleepMs(10);
        if (stop_ || !sendAll(fd, std::string(1, c), stop_))
            return;
    }
}

void HttpServer::sendEndless(net::Socket fd)
{
    if (!sendAll(fd, "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n", stop_))
        return;
    std::string chunk = "1000\r\n";
    chunk.append(0x1000, 'x');
    chunk += "\r\n";
    while (!stop_ && sendAll(fd, chunk, stop_))
        endlessBytes_ += 0x1000;
}

}  // namespace ravo::test
