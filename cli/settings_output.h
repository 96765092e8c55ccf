#pragma once
#include <cstdio>
#include <string>

#include "settings/settings_rows.h"

namespace ravo::cli {

// "Name<TAB>Value", an editable row marked with "*" after its name.
void printSettingsRow(const SettingsRow& row, std::FILE* out = stdout);

// Equal byte strings apart from the case of ASCII letters.
bool sameIgnoringCase(const std::string& a, const std::string& b);

// The row whose name cell is `name`, compared without regard to case; null
// when there is none.
const SettingsRow* findSettingsRow(const std::vector<SettingsRow>& rows, const std::string& name);

// The rows `name` may mean, case ignored: the row of that exact name, else
// every row whose name begins with it.
std::vector<const SettingsRow*> matchSettingsRows(const std::vector<SettingsRow>& rows, const std::string& name);

}  // namespace ravo::cli
