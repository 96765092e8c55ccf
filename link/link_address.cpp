#include "link/link_address.h"

#include <map>
#include <mutex>

#include "link/irda_transport.h"
#include "link/serial_transport.h"
#include "link/tcp_transport.h"

namespace ravo {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, TransportFactory> factories;
};

Registry& registry()
{
    static Registry r;
    return r;
}

bool parseNumber(const std::string& text, int low, int high, int& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return false;
    out = value;
    return true;
}

bool parseTcp(const std::string& rest, LinkAddress& out, std::string& error)
{
    size_t colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        error = "Bad link address: tcp needs HOST:PORT";
        return false;
    }
    out.host = rest.substr(0, colon);
    if (out.host.size() > 2 && out.host.front() == '[' && out.host.back() == ']')
        out.host = out.host.substr(1, out.host.size() - 2);
    if (!parseNumber(rest.substr(colon + 1), 1, 65535, out.port)) {
        error = "Bad link address: tcp port must be 1 to 65535";
        return false;
    }
    return true;
}

bool parseSerial(const std::string& rest, LinkAddress& out, std::string& error)
{
    size_t at = rest.rfind('@');
    out.device = rest.substr(0, at);
    if (out.device.empty()) {
        error = "Bad link address: serial needs a device";
        return false;
    }
    if (at != std::string::npos && !parseNumber(rest.substr(at + 1), 50, 4000000, out.baud)) {
        error = "Bad link address: serial baud rate must be a number";
        return false;
    }
    return true;
}

}  // namespace

bool parseLinkAddress(const std::string& text, LinkAddress& out, std::string& error)
{
    out = LinkAddress{};
    size_t colon = text.find(':');
    out.scheme = text.substr(0, colon);
    std::string rest = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    out.argument = rest;
    if (out.scheme == "tcp")
        return parseTcp(rest, out, error);
    if (out.scheme == "serial")
        return parseSerial(rest, out, error);
    if (out.scheme == "irda") {
        if (!rest.empty()) {
            error = "Bad link address: irda takes no argument";
            return false;
        }
        return true;
    }
    if (out.scheme.empty()) {
        error = "Bad link address: empty";
        return false;
    }
    if (!transportSchemeRegistered(out.scheme)) {
        error = "Bad link address: unknown kind '" + out.scheme + "'";
        return false;
    }
    return true;
}

void registerTransportScheme(const std::string& scheme, TransportFactory factory)
{
    std::lock_guard lock(registry().mutex);
    registry().factories[scheme] = std::move(factory);
}

bool transportSchemeRegistered(const std::string& scheme)
{
    std::lock_guard lock(registry().mutex);
    return registry().factories.count(scheme) != 0;
}

std::unique_ptr<Transport> createTransport(const std::string& text, std::string& error)
{
    LinkAddress address;
    if (!parseLinkAddress(text, address, error))
        return nullptr;
    if (address.scheme == "tcp")
        return makeTcpTransport(address);
    if (address.scheme == "serial")
        return makeSerialTransport(address);
    if (address.scheme == "irda")
        return makeIrdaTransport();
    TransportFactory factory;
    {
        std::lock_guard lock(registry().mutex);
        factory = registry().factories[address.scheme];
    }
    auto transport = factory(address, error);
    if (!transport && error.empty())
        error = "Bad link address: " + text;
    return transport;
}

std::string defaultLinkAddress()
{
#ifdef _WIN32
    return "irda";
#else
    return transportSchemeRegistered("sim") ? "sim" : "tcp:127.0.0.1:4711";
#endif
}

}  // namespace ravo
