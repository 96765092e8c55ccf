#include "divedata/dive_record.h"

#include "divedata/detail/le_bytes_p.h"

namespace ravo {

int AppendSamples(const uint8_t* bytes, size_t byteCount, std::vector<CDiveDataRecord>& samples)
{
    if (!bytes || byteCount == 0)
        return -1;
    size_t whole = byteCount / kSampleBytes;
    samples.reserve(samples.size() + whole);
    for (size_t i = 0; i < whole; ++i) {
        const uint8_t* p = bytes + i * kSampleBytes;
        samples.push_back(CDiveDataRecord{detail::readU16(p), p[2], p[3]});
    }
    return 0;
}

}  // namespace ravo
