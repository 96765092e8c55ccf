#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ravo {

// "FA 34 12 05": upper-case hexadecimal pairs separated by spaces.
std::string hexBytes(const uint8_t* data, size_t length);
inline std::string hexBytes(const std::vector<uint8_t>& bytes) { return hexBytes(bytes.data(), bytes.size()); }

}  // namespace ravo
