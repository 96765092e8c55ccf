#pragma once
#include <string>
#include <utility>
#include <vector>

namespace ravo {

// A small INI text: sections of "key = value" lines, in file order. Keys may
// hold blanks, '/', '(' and '%' (the settings list's row names); a key ends
// at the first '='.
struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;

    // The value of `key`, or null.
    const std::string* find(const std::string& key) const;
};

struct IniDocument {
    std::vector<IniSection> sections;
    // Comment lines written before the first section ("; " added).
    std::vector<std::string> headComments;

    IniSection& add(const std::string& name);
    const IniSection* find(const std::string& name) const;
};

// The document as text, lines ending in CR LF.
std::string writeIni(const IniDocument& document);

// Reads INI text (CR LF or LF; a leading UTF-8 byte order mark skipped; ';'
// and '#' begin comment lines; blanks around keys and values dropped). False with the line number and reason in
// `error` for a line that is neither, for an entry before any section, and
// for a text over kIniMaxBytes.
bool parseIni(const std::string& text, IniDocument& document, std::string& error);

inline constexpr size_t kIniMaxBytes = 1 << 20;

}  // namespace ravo
