#include "support/test_dives.h"

namespace ravo::test {

CDiveLog testDive(uint32_t unit, uint32_t start, std::vector<CDiveDataRecord> samples)
{
    CDiveLog log;
    log.info.valid = 1;
    log.info.unitNumber = unit;
    log.info.startTime = start;
    log.isDive = true;
    log.samples = std::move(samples);
    log.info.recordCount = uint32_t(log.samples.size());
    return log;
}

}  // namespace ravo::test
