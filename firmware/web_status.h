#pragma once
#include <cstddef>
#include <string>

namespace ravo {

// Progress events of a web fetch, numbered as the desktop's internet client
// numbers them.
enum WebStatusEvent : int {
    WEB_RESOLVING_NAME = 10,
    WEB_NAME_RESOLVED = 11,
    WEB_CONNECTING_TO_SERVER = 20,
    WEB_CONNECTED_TO_SERVER = 21,
    WEB_SENDING_REQUEST = 30,
    WEB_REQUEST_SENT = 31,
    WEB_RECEIVING_RESPONSE = 40,
    WEB_RESPONSE_RECEIVED = 41,
    WEB_CLOSING_CONNECTION = 50,
    WEB_CONNECTION_CLOSED = 51,
    WEB_HANDLE_CREATED = 60,
    WEB_HANDLE_CLOSING = 70,
    WEB_REQUEST_COMPLETE = 100,
};

// The status text of `event`. `info` is the event's information: the host
// name (a zero-terminated text) for 10 and 11, two 32-bit words (result and
// error) for 100 when `infoLength` is 8. False for the events that report
// nothing (40, 70).
bool webStatusText(int event, const void* info, size_t infoLength, std::string& text);

// The progress text after `totalBytes` arrived in `elapsedMs`: with at least
// one whole second (rounded) "Read %d bytes (%0.1f Kb/s)", else "Read %d bytes".
std::string webReadText(long totalBytes, long long elapsedMs);

}  // namespace ravo
