#include "app/config_store.h"

#include <cstdlib>

namespace ravo {

std::string MemoryConfigStore::readText(const std::string& section, const std::string& entry, const std::string& def)
{
    auto it = values.find(section + "/" + entry);
    return it == values.end() ? def : it->second;
}

int MemoryConfigStore::readInt(const std::string& section, const std::string& entry, int def)
{
    auto it = values.find(section + "/" + entry);
    if (it == values.end())
        return def;
    char* end = nullptr;
    long v = std::strtol(it->second.c_str(), &end, 10);
    return (end == it->second.c_str() || *end != '\0') ? def : int(v);
}

void MemoryConfigStore::writeText(const std::string& section, const std::string& entry, const std::string& value)
{
    values[section + "/" + entry] = value;
}

void MemoryConfigStore::writeInt(const std::string& section, const std::string& entry, int value)
{
    values[section + "/" + entry] = std::to_string(value);
}

bool MemoryConfigStore::has(const std::string& section, const std::string& entry) const
{
    return values.count(section + "/" + entry) != 0;
}

}  // namespace ravo
