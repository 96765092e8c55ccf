#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "divedata/dive_info.h"

namespace ravo::cli {

using Json = nlohmann::ordered_json;

// A cell text as JSON: a number when the whole text is one (C locale), a
// UTC time "YYYY-MM-DD hh:mm:ss" as ISO 8601 "YYYY-MM-DDThh:mm:ssZ", else
// the text itself.
Json jsonCell(const std::string& text);

// Unit time as ISO 8601 UTC.
std::string isoTime(uint32_t unitTime);

// A log directory as an array of {"index", "start", "records"}.
Json directoryJson(const std::vector<CDiveInfo>& directory);

// Writes `document` and a line end to standard output.
void printJson(const Json& document);

}  // namespace ravo::cli
