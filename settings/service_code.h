#pragma once
#include <functional>
#include <string>

namespace ravo {

// The fixed key the service code is enciphered with.
inline constexpr char kServiceKey[] = "QUINTABREL";

// Deciphers `enciphered` (hexadecimal pairs, one per character) with `key`.
// The key repeats with a period of its length + 1, the last position being
// a zero. Blanks, tabs and line breaks around the text are ignored, as is a
// trailing odd digit; an empty text or key gives an empty result.
std::string decipherServiceCode(const std::string& key, const std::string& enciphered);

// Removes blanks, tabs, carriage returns and line feeds at both ends.
std::string trimServiceEntry(const std::string& text);

// Compares as zero-terminated byte strings: equal up to the first zero byte
// of either, case-sensitive.
bool serviceCodeEquals(const std::string& entered, const std::string& code);

// The code entry: service mode falls back to false before the dialog shows;
// `showDialog` returns false for Cancel, else true with the entered text. The
// entry, trimmed, unlocks service mode when it equals the deciphered
// `enciphered` code. An empty `enciphered` code unlocks nothing.
void enterServiceCode(bool& serviceUnlocked, const std::function<bool(std::string& entered)>& showDialog,
                      const std::string& enciphered);

}  // namespace ravo
