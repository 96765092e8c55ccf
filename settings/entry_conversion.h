#pragma once
#include <string>

namespace ravo {

// Conversions of the text typed into a setting editor.

// The integer of the text as atoi reads it (leading white space, optional
// sign, digits; anything else ends it; no digits give 0). A number beyond the
// int range saturates at its end of the range instead of wrapping.
int entryToInt(const std::string& text);
// The number of the text as atof reads it in the C locale (a decimal point,
// never a comma). Text that is no number, and "nan", give 0.
double entryToReal(const std::string& text);

// The integer editor's rule: the entry converted, raised to the minimum, then
// lowered to the maximum, then, for a step above 1, rounded down onto the
// steps counted from the minimum.
int clampIntEntry(const std::string& text, int minimum, int maximum, int step);
// The real editor's rule: converted, raised to the minimum, then lowered to
// the maximum. The step is not applied.
double clampRealEntry(const std::string& text, double minimum, double maximum);

// Why an editor refuses the entry, or empty when it takes it as typed: an
// entry that is not a whole number in the C locale (a blank or trailing text,
// more decimals than the value holds), or one the rules above would change
// (below the minimum, above the maximum, between two steps). The text names
// the range, so the user can type a value that is kept as it stands.
std::string intEntryRefusal(const std::string& text, int minimum, int maximum, int step);
std::string realEntryRefusal(const std::string& text, int precision, double minimum, double maximum);

// Range lines of the editors: "%d..%d", or "%d..%d  step %d" for a step
// above 1; "%.*lf..%.*lf" for reals.
std::string intRangeText(int minimum, int maximum, int step);
std::string realRangeText(int precision, double minimum, double maximum);

}  // namespace ravo
