#include "link/std_streams.h"

namespace ravo {

void useUnchangedLineEnds() {}

}  // namespace ravo
