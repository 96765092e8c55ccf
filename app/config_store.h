#pragma once
#include <map>
#include <memory>
#include <string>

namespace ravo {

// A per-user store of named values in sections. Reads return the default when
// the entry is missing or unreadable. A write that fails is reported by the
// flush that follows it.
class ConfigStore {
public:
    virtual ~ConfigStore() = default;
    virtual std::string readText(const std::string& section, const std::string& entry, const std::string& def) = 0;
    virtual int readInt(const std::string& section, const std::string& entry, int def) = 0;
    virtual void writeText(const std::string& section, const std::string& entry, const std::string& value) = 0;
    virtual void writeInt(const std::string& section, const std::string& entry, int value) = 0;
    // Whether the entry is in the store now (as another program may have
    // left it since this one read it).
    virtual bool contains(const std::string& section, const std::string& entry) = 0;
    // Writes what was written to the store's place and takes in what other
    // programs wrote meanwhile. False, with the reason in `error`, when the
    // store cannot be written.
    virtual bool flush(std::string& error)
    {
        (void)error;
        return true;
    }
    // Where the store lives (a file or a registry key), for the user; empty
    // when it lives in memory only.
    virtual std::string location() const { return {}; }
};

// Held in memory only; for tests and for runs that must not touch the user's store.
class MemoryConfigStore : public ConfigStore {
public:
    std::string readText(const std::string& section, const std::string& entry, const std::string& def) override;
    int readInt(const std::string& section, const std::string& entry, int def) override;
    void writeText(const std::string& section, const std::string& entry, const std::string& value) override;
    void writeInt(const std::string& section, const std::string& entry, int value) override;
    bool contains(const std::string& section, const std::string& entry) override { return has(section, entry); }

    bool has(const std::string& section, const std::string& entry) const;
    std::map<std::string, std::string> values;  // "SECTION/ENTRY" -> text
};

// The platform's native store for organisation "Varnholm", application
// "Ravo_Config": the registry on Windows, an INI file under the XDG config
// folder elsewhere.
std::unique_ptr<ConfigStore> makeNativeConfigStore();

}  // namespace ravo
