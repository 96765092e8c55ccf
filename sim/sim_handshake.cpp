#include "sim/sim_handshake.h"

namespace ravo::sim {
namespace {

struct Keys {
    uint8_t k1, k2, k3, k4;
};

constexpr Keys kSetA{0x3A, 0x5C, 0xA7, 0x1E};
constexpr Keys kSetB{0x6D, 0x92, 0x4F, 0xB8};

uint8_t swapNibbles(uint8_t x)
{
    return uint8_t(x << 4 | x >> 4);
}

std::array<uint8_t, 4> mix(const std::array<uint8_t, 4>& s, const Keys& k)
{
    std::array<uint8_t, 4> r{};
    r[1] = uint8_t(s[0] ^ s[1] ^ k.k1);
    r[2] = uint8_t(s[2] ^ r[1] ^ k.k2);
    r[3] = uint8_t(s[3] ^ r[2] ^ k.k3);
    r[0] = uint8_t(r[3] ^ s[0] ^ k.k4);
    return r;
}

}  // namespace

std::array<uint8_t, 4> expectedResponse(uint16_t version, const std::array<uint8_t, 4>& c)
{
    if (version >= 0x4303) {
        std::array<uint8_t, 4> s{swapNibbles(c[0]), swapNibbles(c[1]), swapNibbles(c[2]), swapNibbles(c[3])};
        return mix(s, version >= 0x4700 ? kSetA : kSetB);
    }
    if (version >= 0x4101)
        return mix({c[0], swapNibbles(c[0]), c[0], swapNibbles(c[0])}, kSetB);
    uint8_t sw = swapNibbles(c[0]);
    return {c[0], uint8_t(sw ^ uint8_t(~c[0])), sw, 0xFF};
}

}  // namespace ravo::sim
