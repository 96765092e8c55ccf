#pragma once
#include <string>

namespace ravo {

// Texts the program takes from outside (file and folder names, a served
// manifest) are bytes that need not be UTF-8. Where a text must be UTF-8
// (JSON output) these give a readable form and a lossless one.

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(const std::string& bytes);

// `bytes` with every byte that is not part of a well-formed UTF-8 sequence
// replaced by U+FFFD; valid UTF-8 comes back unchanged.
std::string Utf8Replaced(const std::string& bytes);

// The characters of a UTF-8 text (bytes that do not continue a sequence),
// for lining up columns.
int Utf8CharCount(const std::string& text);

// `bytes` percent-encoded, losslessly and in plain ASCII: the printable
// ASCII characters other than '%' stay, every other byte becomes %HH (upper
// case), as URL decoders read it back ("/tmp/d\xFF" gives "/tmp/d%FF").
std::string PercentEncoded(const std::string& bytes);

}  // namespace ravo
