#include "link/socket_layer.h"

namespace ravo {

// POSIX sockets need no start-up.
bool startSocketLayer(std::string& error)
{
    error.clear();
    return true;
}

void stopSocketLayer() {}

}  // namespace ravo
