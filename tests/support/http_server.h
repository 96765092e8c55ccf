#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/net_socket.h"

namespace ravo::test {

// What the test web server does for one path.
struct HttpRoute {
    enum Kind {
        kReply,          // status, headers and body, then close
        kSilent,         // accept the request and never answer
        kEndlessChunked, // a chunked reply that never ends
        kTrickle         // headers, then the body one byte every gapMs
    };
    Kind kind = kReply;
    int status = 200;
    std::string body;
    std::string contentType = "text/xml";
    std::string location;  // a Location header when not empty (redirects)
    int gapMs = 0;         // kTrickle: real milliseconds between bytes
};

// A small HTTP/1.1 server on 127.0.0.1 (a free port), one thread per
// connection, for the web fetch tests. Unknown paths get a 404 page.
class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    void route(const std::string& path, const HttpRoute& route);
    int port() const { return port_; }
    std::string url(const std::string& path) const;

    int requestCount() const { return requests_.load(); }
    std::vector<std::string> requestedPaths() const;
    std::string lastUserAgent() const;
    // Bytes written by endless replies so far.
    long long endlessBytes() const { return endlessBytes_.load(); }

private:
    void acceptLoop();
    void serve(net::Socket s);
    void reply(net::Socket s, const HttpRoute& route);
    void stayQuiet(net::Socket s);
    void sendEndless(net::Socket s);
    void trickle(net::Socket s, const HttpRoute& route);

    net::Socket listener_ = net::kNoSocket;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::atomic<long long> endlessBytes_{0};
    mutable std::mutex mutex_;
    std::map<std::string, HttpRoute> routes_;
    std::vector<std::string> paths_;
    std::string userAgent_;
    std::thread acceptThread_;
    std::vector<std::thread> connections_;
};

}  // namespace ravo::test
