#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "divedata/dive_info.h"
#include "jobs/job_events.h"
#include "settings/settings_rows.h"

namespace ravo::cli {

using Json = nlohmann::ordered_json;

// A cell text as JSON: a number when the whole text is one (C locale), a
// UTC time "YYYY-MM-DD hh:mm:ss" as ISO 8601 "YYYY-MM-DDThh:mm:ssZ", else
// the text itself.
Json jsonCell(const std::string& text);

// A settings row's value: a number for the rows the list shows as numbers,
// otherwise the text shown (a time as ISO 8601 UTC), so a code such as the
// battery serial "0123" stays as the list shows it.
Json settingValueJson(const SettingsRow& row);

// Unit time as ISO 8601 UTC.
std::string isoTime(uint32_t unitTime);

// A log directory as an array of {"index", "start", "records"}.
Json directoryJson(const LogDirectory& directory);

// JSON texts must be UTF-8; the program's texts are bytes (file names,
// folders, a served manifest). A text is written with every byte that is not
// part of well-formed UTF-8 replaced by U+FFFD; a file-system name (a path, a
// file or log name, the store's place) that is not UTF-8 is given besides,
// losslessly, in a member named after it with "Bytes" appended, its bytes
// percent-encoded ("folder": "/tmp/d\ufffd", "folderBytes": "/tmp/d%FF").
Json jsonText(const std::string& text);
void putName(Json& object, const std::string& key, const std::string& name);
// The same for a list of names: "<key>Bytes" is a list of the same length
// (every name encoded) when any of them is not UTF-8.
void putNames(Json& object, const std::string& key, const std::vector<std::string>& names);

// Writes `document` and a line end to standard output. Never throws: a text
// that escaped the helpers above is written with U+FFFD too.
void printJson(const Json& document);

}  // namespace ravo::cli
