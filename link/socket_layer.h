#pragma once
#include <string>

namespace ravo {

// The platform's socket service: Winsock 2.2 on Windows, nothing to start
// elsewhere. False with the reason in `error` when it cannot be used.
bool startSocketLayer(std::string& error);
void stopSocketLayer();

}  // namespace ravo
