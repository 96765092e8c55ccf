#include "link/socket_layer.h"

#ifdef _WIN32
#include <winsock2.h>
#include <cstdio>
#endif

namespace ravo {

bool startSocketLayer(std::string& error)
{
    error.clear();
#ifdef _WIN32
    WSADATA data;
    int r = ::WSAStartup(MAKEWORD(2, 2), &data);
    char text[64];
    if (r != 0) {
        std::snprintf(text, sizeof text, "-1:\tWinsock startup failed, error=%d", r);
        error = text;
        return false;
    }
    if (data.wVersion != MAKEWORD(2, 2)) {
        std::snprintf(text, sizeof text, "-2: Bad Winsock version (%d.%d)", HIBYTE(data.wVersion),
                      LOBYTE(data.wVersion));
        error = text;
        ::WSACleanup();
        return false;
    }
#endif
    return true;
}

void stopSocketLayer()
{
#ifdef _WIN32
    ::WSACleanup();
#endif
}

}  // namespace ravo
