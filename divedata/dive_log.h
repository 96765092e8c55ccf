#pragma once

namespace ravo {

// One whole downloaded log.
class CDiveLog {
public:
    void clear() {}
};

}  // namespace ravo
