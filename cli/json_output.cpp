#include "cli/json_output.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "divedata/log_list_rows.h"
#include "link/unit_time.h"
#include "link/utf8_text.h"

namespace ravo::cli {
namespace {

bool isUtcTimeText(const std::string& text)
{
    static const char pattern[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != sizeof pattern - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i])
            return false;
    }
    return true;
}

}  // namespace

Json jsonCell(const std::string& text)
{
    if (isUtcTimeText(text))
        return text.substr(0, 10) + "T" + text.substr(11) + "Z";
    bool numeric = !text.empty() && text.find_first_not_of("+-0123456789.") == std::string::npos &&
                   std::isdigit(static_cast<unsigned char>(text.back()));
    if (numeric) {
        char* end = nullptr;
        // The texts are printed in the C locale, so is the number read back.
        if (text.find('.') == std::string::npos) {
            long long value = std::strtoll(text.c_str(), &end, 10);
            if (*end == '\0')
                return value;
        } else {
            double value = std::strtod(text.c_str(), &end);
            if (*end == '\0')
                return value;
        }
    }
    return jsonText(text);
}

Json settingValueJson(const SettingsRow& row)
{
    if (row.numeric || isUtcTimeText(row.value))
        return jsonCell(row.value);
    return jsonText(row.value);
}

Json jsonText(const std::string& text)
{
    return Utf8Replaced(text);
}

void putName(Json& object, const std::string& key, const std::string& name)
{
    object[key] = jsonText(name);
    if (!IsValidUtf8(name))
        object[key + "Bytes"] = PercentEncoded(name);
}

void putNames(Json& object, const std::string& key, const std::vector<std::string>& names)
{
    Json list = Json::array();
    Json encoded = Json::array();
    bool lossy = false;
    for (const std::string& name : names) {
        list.push_back(jsonText(name));
        encoded.push_back(PercentEncoded(name));
        lossy = lossy || !IsValidUtf8(name);
    }
    object[key] = list;
    if (lossy)
        object[key + "Bytes"] = encoded;
}

std::string isoTime(uint32_t unitTime)
{
    return jsonCell(FormatUnitTime(unitTime)).get<std::string>();
}

Json directoryJson(const LogDirectory& directory)
{
    UnitLogListRows rows;
    rows.Fill(directory.entries, directory.unit);
    Json list = Json::array();
    for (int r = 0; r < rows.rowCount(); ++r) {
        const CDiveInfo* entry = rows.entryForRow(r);
        // An entry the unit did not give has no start or size to show.
        if (!entry->valid) {
            list.push_back({{"index", entry->index}, {"read", false}, {"start", nullptr}, {"records", nullptr}});
            continue;
        }
        list.push_back({{"index", entry->index},
                        {"read", true},
                        {"start", isoTime(entry->startTime)},
                        {"records", entry->recordCount}});
    }
    return list;
}

void printJson(const Json& document)
{
    std::fputs((document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace ravo::cli
