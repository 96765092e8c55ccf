#pragma once
#include <functional>
#include <memory>
#include <string>

#include "link/transport.h"

namespace ravo {

// Where the link finds the unit:
//   tcp:HOST:PORT            a TCP peer (the simulator, or a bridge to an IrDA port)
//   serial:DEVICE[@BAUD]     a serial IrDA adapter, 8N1, raw, default 115200 baud
//   irda                     the Windows IrDA socket service
//   sim[:PRESET]             the simulated unit in this process
struct LinkAddress {
    std::string scheme;    // "tcp", "serial", "irda", "sim", ...
    std::string host;      // tcp
    int port = 0;          // tcp
    std::string device;    // serial
    int baud = 115200;     // serial
    std::string argument;  // the text after "scheme:" (sim preset)
};

// Parses `text`; on failure returns false with the reason in `error`.
bool parseLinkAddress(const std::string& text, LinkAddress& out, std::string& error);

using TransportFactory = std::function<std::unique_ptr<Transport>(const LinkAddress&, std::string& error)>;

// Lets a library outside the link (the simulator) provide a scheme.
void registerTransportScheme(const std::string& scheme, TransportFactory factory);
bool transportSchemeRegistered(const std::string& scheme);

// Builds the transport for `text`; null with the reason in `error` when the
// address is malformed or its scheme unknown.
std::unique_ptr<Transport> createTransport(const std::string& text, std::string& error);

// "irda" on Windows; elsewhere the simulated unit when it is linked in.
std::string defaultLinkAddress();

}  // namespace ravo
