#pragma once
#include <cstdint>

namespace ravo::detail {

// Byte-stream helpers shared by the descriptor-based transports (POSIX).
int fdSend(int fd, const uint8_t* data, int length);
int fdReceive(int fd, uint8_t* buffer, int size);
int fdAvailable(int fd);
// True as soon as bytes are waiting; false after `realMs` or when the peer
// has closed its end (then `peerClosed` is set, and later waits just sleep).
bool fdWaitReadable(int fd, uint32_t realMs, bool& peerClosed);

}  // namespace ravo::detail
