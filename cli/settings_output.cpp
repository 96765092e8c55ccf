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

std::vector<const SettingsRow*> matchSettingsRows(const std::vector<SettingsRow>& rows, const std::string& name)
{
    if (const SettingsRow* exact = findSettingsRow(rows, name))
        return {exact};
    std::vector<const SettingsRow*> found;
    if (name.empty())
        return found;
    for (const SettingsRow& row : rows)
        if (row.name.size() > name.size() && sameIgnoringCase(row.name.substr(0, name.size()), name))
            found.push_back(&row);
    return found;
}

}  // namespace ravo::cli
