#pragma once
#include <string>
#include <vector>

namespace ravo {

// The firmware folder listing behind the unit view's firmware list: the folder
// it was last filled from and the ".enc" file names found there.
struct FirmwareFileList {
    std::string folder;
    std::vector<std::string> names;  // names only, case ignored, then by bytes
};

// Creates the folder when missing, then lists its ".enc" files (the extension
// in any case) into `list`, sorted as a person reads them (case ignored, ties
// by bytes). Returns the number found.
int ListFirmwareFiles(FirmwareFileList& list, const std::string& folder);

// Full path of `name` in the listing's folder (the name alone without folder).
std::string firmwareFilePath(const FirmwareFileList& list, const std::string& name);

// The entry the unit view selects: the first whose name begins with
// `previous` (case ignored), else the last one. -1 for an empty list.
int defaultFirmwareChoice(const std::vector<std::string>& names, const std::string& previous);

// The firmware version a file's name states: the last group of exactly four
// hexadecimal digits between other characters than letters and digits, main
// version then beta number ("RAVO_4A01.enc" is 0x4A01). -1 when the name
// states none.
int firmwareFileVersion(const std::string& name);

}  // namespace ravo
