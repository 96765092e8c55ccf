// Names from the file system and texts from a served manifest, made fit for
// JSON: the replaced text is always UTF-8, and the percent-encoded form reads
// back to the very bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/utf8_text.h"

namespace {

std::string percentDecoded(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += char(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string replaced = ravo::Utf8Replaced(bytes);
    if (!ravo::IsValidUtf8(replaced))
        std::abort();
    if (ravo::IsValidUtf8(bytes) != (replaced == bytes))
        std::abort();
    if (percentDecoded(ravo::PercentEncoded(bytes)) != bytes)
        std::abort();
    return 0;
}
