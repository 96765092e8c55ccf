#include "link/std_streams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace ravo {

void useUnchangedLineEnds()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace ravo
