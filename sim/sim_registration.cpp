#include "sim/sim_registration.h"

#include <mutex>

#include "link/link_address.h"
#include "sim/sim_transport.h"

namespace ravo::sim {

void registerSimTransport()
{
    static std::once_flag once;
    std::call_once(once, [] {
        registerTransportScheme("sim", [](const LinkAddress& address, std::string& error) -> std::unique_ptr<Transport> {
            auto unit = simUnitFor(address.argument, error);
            if (!unit)
                return nullptr;
            return makeSimTransport(std::move(unit));
        });
    });
}

}  // namespace ravo::sim
