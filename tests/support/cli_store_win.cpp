#include <windows.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {

std::string cliStoreLocation(const TempDir& home)
{
    return "HKEY_CURRENT_USER\\" + cliRegistryKey(home);
}

std::string cliStoreText(const TempDir& home)
{
    std::string text;
    HKEY root = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, cliRegistryKey(home).c_str(), 0, KEY_READ, &root) != ERROR_SUCCESS)
        return text;
    char section[256];
    for (DWORD i = 0; ::RegEnumKeyA(root, i, section, sizeof section) == ERROR_SUCCESS; ++i) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, section, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        text += '[';
        text += section;
        text += "]\n";
        char name[256];
        BYTE data[2048];
        for (DWORD v = 0;; ++v) {
            DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
            if (::RegEnumValueA(key, v, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
                break;
            std::string value = type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data))
                                                  : std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0);
            text += std::string(name) + "=" + value + "\n";
        }
        ::RegCloseKey(key);
    }
    ::RegCloseKey(root);
    return text;
}

void presetCliStore(const TempDir& home, const std::string& section, const std::string& entry,
                    const std::string& value)
{
    HKEY key = nullptr;
    std::string path = cliRegistryKey(home) + "\\" + section;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    ::RegCloseKey(key);
}

}  // namespace ravo::test
