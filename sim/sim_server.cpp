#include "sim/sim_server.h"

#include <algorithm>
#include <cmath>

namespace ravo::sim {
namespace {

// How often an endlessly noisy unit writes its next burst.
constexpr double kNoiseStepMs = 5;

}  // namespace

SimServer::SimServer(std::shared_ptr<SimUnit> unit) : unit_(std::move(unit)) {}

SimServer::~SimServer()
{
    closeClient();
    closeListener();
}

bool SimServer::openListener(std::string& error)
{
    int bound = 0;
    net::Socket s = net::listenLoopback(port_ < 0 ? 0 : port_, bound, 4);
    if (s == net::kNoSocket) {
        error = "Cannot listen on 127.0.0.1:" + std::to_string(port_ < 0 ? 0 : port_);
        return false;
    }
    listener_ = s;
    port_ = bound;
    return true;
}

void SimServer::closeListener()
{
    net::closeSocket(listener_);
    listener_ = net::kNoSocket;
}

int SimServer::listenTcp(int port, std::string& error)
{
    port_ = port;
    return openListener(error) ? port_ : -1;
}

std::string SimServer::openPty(std::string& error)
{
    std::string path = pty_.open(error);
    if (!path.empty())
        unit_->connectionOpened();
    return path;
}

void SimServer::closeClient()
{
    if (client_ != net::kNoSocket) {
        net::closeSocket(client_);
        client_ = net::kNoSocket;
        unit_->connectionClosed();
    }
    pending_.clear();
    dropPending_ = false;
}

void SimServer::write(const std::vector<uint8_t>& bytes)
{
    if (client_ != net::kNoSocket)
        net::sendAll(client_, bytes.data(), int(bytes.size()));
    else
        pty_.write(bytes);
}

double SimServer::flushDue()
{
    // The clock's fraction of a millisecond counts: whole milliseconds would
    // write every answer up to a millisecond late.
    double now = unit_->clock().fineMs();
    while (!pending_.empty() && pending_.front().atMs <= now) {
        write(pending_.front().bytes);
        pending_.pop_front();
    }
    if ((client_ != net::kNoSocket || pty_.isOpen()) && !dropPending_ && unit_->streamsNoise()) {
        write(unit_->noiseDue());
        return pending_.empty() ? kNoiseStepMs : std::min(kNoiseStepMs, pending_.front().atMs - now);
    }
    if (!pending_.empty())
        return pending_.front().atMs - now;
    if (dropPending_) {
        dropPending_ = false;
        if (client_ != net::kNoSocket) {
            closeClient();
        } else if (pty_.isOpen()) {
            unit_->connectionClosed();
            unit_->connectionOpened();
        }
    }
    return -1;
}

void SimServer::feed(const uint8_t* data, size_t n)
{
    SimReaction reaction = unit_->receive(data, n);
    for (SimDelivery& d : reaction.deliveries)
        pending_.push_back(std::move(d));
    dropPending_ = dropPending_ || reaction.dropLink;
    // A restarting unit is gone before its last answer reaches the link, so
    // the link cannot reach the port again until the unit is back.
    if (reaction.dropLink && listener_ != net::kNoSocket && !unit_->reachable())
        closeListener();
}

void SimServer::serviceTcp(int timeoutMs)
{
    bool reachable = unit_->reachable();
    std::string error;
    if (!reachable && listener_ != net::kNoSocket) {
        closeListener();  // the unit is away: nobody answers on its port
    } else if (reachable && listener_ == net::kNoSocket) {
        openListener(error);
    }
    net::Socket watched = client_ != net::kNoSocket ? client_ : listener_;
    if (net::waitReadable(&watched, 1, timeoutMs) < 0)
        return;
    if (client_ == net::kNoSocket) {
        net::Socket s = net::acceptClient(listener_);
        if (s == net::kNoSocket)
            return;
        if (!unit_->reachable()) {
            net::closeSocket(s);
            return;
        }
        client_ = s;
        unit_->connectionOpened();
        return;
    }
    uint8_t buffer[4096];
    int n = net::receiveSome(client_, buffer, sizeof buffer);
    if (n == net::kWouldBlock)
        return;
    if (n <= 0) {
        closeClient();
        return;
    }
    feed(buffer, size_t(n));
}

void SimServer::servicePty(int timeoutMs)
{
    uint8_t buffer[4096];
    int n = pty_.read(buffer, sizeof buffer, timeoutMs);
    if (n > 0)
        feed(buffer, size_t(n));
}

void SimServer::run(const std::atomic<bool>& stop, const std::function<void()>& idle)
{
    while (!stop.load()) {
        // Rounded down: waking a little early and looking again costs less
        // than an answer written late.
        double due = flushDue();
        int timeout = due < 0 ? 20 : int(std::min(due, 20.0));
        if (pty_.isOpen())
            servicePty(timeout);
        else
            serviceTcp(timeout);
        if (idle)
            idle();
    }
}

}  // namespace ravo::sim
