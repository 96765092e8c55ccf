#include "settings/ini_file.h"

#include "link/c_format.h"
#include "link/unit_number.h"

namespace ravo {

const std::string* IniSection::find(const std::string& key) const
{
    for (const auto& [k, v] : entries)
        if (k == key)
            return &v;
    return nullptr;
}

IniSection& IniDocument::add(const std::string& name)
{
    sections.push_back(IniSection{name, {}});
    return sections.back();
}

const IniSection* IniDocument::find(const std::string& name) const
{
    for (const IniSection& section : sections)
        if (section.name == name)
            return &section;
    return nullptr;
}

std::string writeIni(const IniDocument& document)
{
    std::string text;
    for (const std::string& comment : document.headComments)
        text += "; " + comment + "\r\n";
    for (const IniSection& section : document.sections) {
        if (!text.empty())
            text += "\r\n";
        text += "[" + section.name + "]\r\n";
        for (const auto& [key, value] : section.entries)
            text += key + " = " + value + "\r\n";
    }
    return text;
}

bool parseIni(const std::string& text, IniDocument& document, std::string& error)
{
    document = IniDocument{};
    if (text.size() > kIniMaxBytes) {
        error = "the file is too large";
        return false;
    }
    IniSection* section = nullptr;
    // A file saved again by an editor may start with a UTF-8 byte order mark.
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int lineNumber = 1; start < text.size(); ++lineNumber) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line[0] == ';' || line[0] == '#') {
            if (!section)
                document.headComments.push_back(trimmed(line.substr(1)));
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) {
                error = formatC("line %d: a section name must stand between [ and ]", lineNumber);
                return false;
            }
            section = &document.add(trimmed(line.substr(1, line.size() - 2)));
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) {
            error = formatC("line %d: expected \"name = value\"", lineNumber);
            return false;
        }
        if (!section) {
            error = formatC("line %d: an entry before the first [section]", lineNumber);
            return false;
        }
        section->entries.emplace_back(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
    }
    return true;
}

}  // namespace ravo
