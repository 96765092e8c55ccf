#pragma once
#include "link/irda_part.h"

namespace ravo {

// The command layer of the link: frames, replies and unit commands, built on
// the byte-stream operations of irda_part. No data of its own.
class irda_cmd : public irda_part {
public:
    ~irda_cmd() override = default;
};

}  // namespace ravo
