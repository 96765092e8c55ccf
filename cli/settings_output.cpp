#include "cli/settings_output.h"

#include <algorithm>
#include <cctype>

namespace ravo::cli {

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void printSettingsRow(const SettingsRow& row, std::FILE* out)
{
    std::fprintf(out, "%s%s\t%s\n", row.name.c_str(), row.editable ? "*" : "", row.value.c_str());
}

const SettingsRow* findSettingsRow(const std::vector<SettingsRow>& rows, const std::string& name)
{
    for (const SettingsRow& row : rows)
        if (sameIgnoringCase(row.name, name))
            return &row;
    return nullptr;
}

}  // namespace ravo::cli
