#include "settings/service_code.h"

#include <cstdlib>
#include <cstring>

namespace ravo {
namespace {

bool isTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string trimServiceEntry(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string decipherServiceCode(const std::string& key, const std::string& enciphered)
{
    std::string text = trimServiceEntry(enciphered);
    std::string result;
    if (text.empty() || key.empty())
        return result;
    const size_t n = key.size();
    size_t p = 0;
    for (size_t i = 0; i < text.size() / 2; ++i) {
        char pair[3] = {text[2 * i], text[2 * i + 1], '\0'};
        long d = std::strtol(pair, nullptr, 16);
        // Position n holds the zero that ends the key.
        int k = p < n ? static_cast<unsigned char>(key[p]) : 0;
        result.push_back(char((d - k + 32) & 0xFF));
        if (++p > n)
            p = 0;
    }
    return result;
}

bool serviceCodeEquals(const std::string& entered, const std::string& code)
{
    return std::strcmp(entered.c_str(), code.c_str()) == 0;
}

void enterServiceCode(bool& serviceUnlocked, const std::function<bool(std::string& entered)>& showDialog,
                      const std::string& enciphered)
{
    serviceUnlocked = false;
    std::string entered;
    if (!showDialog || !showDialog(entered))
        return;
    entered = trimServiceEntry(entered);
    if (trimServiceEntry(enciphered).empty())
        return;
    std::string code = decipherServiceCode(kServiceKey, enciphered);
    // A code that deciphers to nothing would let an empty entry in.
    if (code.c_str()[0] == '\0')
        return;
    if (serviceCodeEquals(entered, code))
        serviceUnlocked = true;
}

}  // namespace ravo
