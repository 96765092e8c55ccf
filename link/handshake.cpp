#include "link/handshake.h"

namespace ravo {
namespace {

struct KeySet {
    uint8_t k1, k2, k3, k4;
};

// The unit's own constants; a unit accepts only responses made with them.
constexpr KeySet kSetA{0x3A, 0x5C, 0xA7, 0x1E};
constexpr KeySet kSetB{0x6D, 0x92, 0x4F, 0xB8};

void chain(const uint8_t s[4], const KeySet& k, uint8_t r[4])
{
    r[1] = uint8_t(s[0] ^ s[1] ^ k.k1);
    r[2] = uint8_t(s[2] ^ r[1] ^ k.k2);
    r[3] = uint8_t(s[3] ^ r[2] ^ k.k3);
    r[0] = uint8_t(r[3] ^ s[0] ^ k.k4);
}

}  // namespace

HandshakeVariant handshakeVariant(uint32_t version)
{
    if (version >= 0x4700)
        return HandshakeVariant::A;
    if (version >= 0x4303)
        return HandshakeVariant::B;
    if (version >= 0x4101)
        return HandshakeVariant::C;
    return HandshakeVariant::D;
}

void handshakeResponse(uint32_t version, const uint8_t challenge[4], uint8_t response[4])
{
    const uint8_t c0 = challenge[0];
    switch (handshakeVariant(version)) {
    case HandshakeVariant::A:
    case HandshakeVariant::B: {
        const uint8_t s[4] = {swapNibbles(challenge[0]), swapNibbles(challenge[1]), swapNibbles(challenge[2]),
                              swapNibbles(challenge[3])};
        chain(s, handshakeVariant(version) == HandshakeVariant::A ? kSetA : kSetB, response);
        return;
    }
    case HandshakeVariant::C: {
        const uint8_t s[4] = {c0, swapNibbles(c0), c0, swapNibbles(c0)};
        chain(s, kSetB, response);
        return;
    }
    case HandshakeVariant::D:
        response[0] = c0;
        response[1] = uint8_t(swapNibbles(c0) ^ uint8_t(~c0));
        response[2] = swapNibbles(c0);
        response[3] = 0xFF;
        return;
    }
}

}  // namespace ravo
