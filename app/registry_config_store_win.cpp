#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/config_store.h"

namespace ravo {
namespace {

// The layout Qt's native settings use on Windows, so the desktop program and
// the command line share one store: one subkey per section, integers as
// REG_DWORD, texts as REG_SZ in the system code page.
class RegistryConfigStore : public ConfigStore {
public:
    explicit RegistryConfigStore(std::string root) : root_(std::move(root)) {}

    std::string readText(const std::string& section, const std::string& entry, const std::string& def) override
    {
        DWORD type = 0;
        std::string data;
        if (!query(section, entry, type, data))
            return def;
        if (type == REG_DWORD && data.size() == sizeof(DWORD))
            return std::to_string(dwordOf(data));
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return def;
        return data.substr(0, data.find('\0'));
    }

    int readInt(const std::string& section, const std::string& entry, int def) override
    {
        DWORD type = 0;
        std::string data;
        if (!query(section, entry, type, data))
            return def;
        if (type == REG_DWORD && data.size() == sizeof(DWORD))
            return int(dwordOf(data));
        if (type != REG_SZ)
            return def;
        std::string text = data.substr(0, data.find('\0'));
        char* end = nullptr;
        long v = std::strtol(text.c_str(), &end, 10);
        return (text.empty() || *end != '\0') ? def : int(v);
    }

    void writeText(const std::string& section, const std::string& entry, const std::string& value) override
    {
        set(section, entry, REG_SZ, value.c_str(), DWORD(value.size() + 1));
    }

    void writeInt(const std::string& section, const std::string& entry, int value) override
    {
        DWORD dword = DWORD(value);
        set(section, entry, REG_DWORD, &dword, sizeof dword);
    }

    bool contains(const std::string& section, const std::string& entry) override
    {
        DWORD type = 0;
        std::string data;
        return query(section, entry, type, data);
    }

    bool flush(std::string& error) override
    {
        if (writeError_.empty())
            return true;
        error = "Can not write the configuration store " + location() + " (" + writeError_ + ")";
        writeError_.clear();
        return false;
    }

    std::string location() const override { return "HKEY_CURRENT_USER\\" + root_; }

private:
    static DWORD dwordOf(const std::string& data)
    {
        DWORD v = 0;
        data.copy(reinterpret_cast<char*>(&v), sizeof v);
        return v;
    }

    std::string keyOf(const std::string& section) const { return root_ + "\\" + section; }

    bool query(const std::string& section, const std::string& entry, DWORD& type, std::string& data) const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        LONG r = ::RegQueryValueExA(key, entry.c_str(), nullptr, &type, nullptr, &size);
        if (r == ERROR_SUCCESS) {
            data.assign(size, '\0');
            r = ::RegQueryValueExA(key, entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
            data.resize(size);
        }
        ::RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }

    void set(const std::string& section, const std::string& entry, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        LONG result = ::RegCreateKeyExA(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                        nullptr, &key, nullptr);
        if (result == ERROR_SUCCESS) {
            result = ::RegSetValueExA(key, entry.c_str(), 0, type, static_cast<const BYTE*>(data), size);
            ::RegCloseKey(key);
        }
        if (result != ERROR_SUCCESS && writeError_.empty())
            writeError_ = section + "\\" + entry + ": registry error " + std::to_string(result);
    }

    std::string root_;
    std::string writeError_;  // the first write that failed since the last flush
};

}  // namespace

// RAVO_REGISTRY_KEY moves the store under another key of HKEY_CURRENT_USER
// (the tests give each run a key of its own).
std::unique_ptr<ConfigStore> makeNativeConfigStore()
{
    const char* root = std::getenv("RAVO_REGISTRY_KEY");
    return std::make_unique<RegistryConfigStore>(root && *root ? root : "Software\\Varnholm\\Ravo_Config");
}

}  // namespace ravo
