#pragma once

namespace ravo {

// Standard output and error carry the program's line ends unchanged ("\n"),
// so the command-line programs print the same bytes on every platform (the
// Windows runtime would turn each "\n" into CR LF).
void useUnchangedLineEnds();

}  // namespace ravo
