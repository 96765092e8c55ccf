#include "link/socket_layer.h"

#include <winsock2.h>

#include "link/c_format.h"

namespace ravo {

bool startSocketLayer(std::string& error)
{
    error.clear();
    WSADATA data;
    int r = ::WSAStartup(MAKEWORD(2, 2), &data);
    if (r != 0) {
        error = formatC("-1:\tWinsock startup failed, error=%d", r);
        return false;
    }
    if (data.wVersion != MAKEWORD(2, 2)) {
        error = formatC("-2: Bad Winsock version (%d.%d)", HIBYTE(data.wVersion), LOBYTE(data.wVersion));
        ::WSACleanup();
        return false;
    }
    return true;
}

void stopSocketLayer()
{
    ::WSACleanup();
}

}  // namespace ravo
