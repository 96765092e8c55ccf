#pragma once
#include <array>
#include <string>

#include "ravo_version.h"

namespace ravo {

// The update manifest published on the maker's web server: sixteen texts,
// alive for the whole run. Entry 1 holds the fetched text; ReadManifest fills
// entries 3 to 15 from it.
struct UpdateManifest {
    enum Entry : int {
        kServiceKey = 0,
        kFetchedText = 1,
        kAgentName = 2,
        kProgramName = 3,
        kProgramFile = 4,  // the program's download location
        kProgramDate = 5,
        kProgramVersion = 6,
        kProgramMajor = 7,
        kProgramMinor = 8,
        kServiceCode = 9,  // enciphered service code, hexadecimal pairs
        kFirmwareName = 10,
        kFirmwareFile = 11,
        kFirmwareDate = 12,
        kFirmwareVersion = 13,
        kFirmwareMajor = 14,
        kFirmwareMinor = 15,
        kEntryCount = 16
    };

    UpdateManifest() { clear(); }

    // Back to the state at construction: the key and agent name, all else empty.
    void clear();

    std::string& operator[](int entry) { return entries[size_t(entry)]; }
    const std::string& operator[](int entry) const { return entries[size_t(entry)]; }

    const std::string& serviceKey() const { return entries[kServiceKey]; }
    const std::string& encipheredCode() const { return entries[kServiceCode]; }
    const std::string& downloadLocation() const { return entries[kProgramFile]; }
    const std::string& programVersion() const { return entries[kProgramVersion]; }

    std::array<std::string, kEntryCount> entries;
};

inline constexpr char kManifestServiceKey[] = "QUINTABREL";
inline constexpr char kManifestAgentName[] = "Get Server Info";
// The version the manifest's program version is compared against.
inline constexpr char kOwnProgramVersion[] = RAVO_VERSION_TAG;

// The content between the first "<name>" in `text` and the first "</name>"
// after it; empty when either is missing. Exact, case-sensitive, nothing
// trimmed or decoded.
std::string Element(const std::string& text, const std::string& name);

// Fills entries 3 to 15 from entry 1. False (entries 3 to 15 empty) when the
// text is empty or has no "ravo" element.
bool ReadManifest(UpdateManifest& manifest);

// True when entry 6 is greater than kOwnProgramVersion as a plain byte-string comparison.
bool IsNewer(const UpdateManifest& manifest);

}  // namespace ravo
