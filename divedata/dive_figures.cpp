#include "divedata/dive_figures.h"

#include <algorithm>

#include "divedata/sample_clock.h"

namespace ravo {

DiveFigures ComputeDiveFigures(const std::vector<CDiveDataRecord>& samples)
{
    DiveFigures f;
    f.records = uint32_t(std::min<size_t>(samples.size(), UINT32_MAX));
    SampleClock clock;
    for (const CDiveDataRecord& sample : samples) {
        f.lastTime = std::max(f.lastTime, clock.next(sample.time));
        switch (sample.kind) {
        case KindDepth:
            f.hasDepth = true;
            f.maxDepth = std::max(f.maxDepth, depthMetres(sample.value));
            break;
        case KindTemperature: {
            const double c = temperatureDegrees(sample.value);
            if (!f.hasTemp) {
                f.hasTemp = true;
                f.tempMin = f.tempMax = c;
            } else {
                f.tempMax = std::max(f.tempMax, c);
                f.tempMin = std::min(f.tempMin, c);
            }
            break;
        }
        case KindHpDil:
            if (!f.hasDil) {
                f.hasDil = true;
                f.dilStart = sample.value;
            }
            f.dilStop = sample.value;
            break;
        case KindHpO2:
            if (!f.hasO2) {
                f.hasO2 = true;
                f.o2Start = sample.value;
            }
            f.o2Stop = sample.value;
            break;
        default: break;
        }
    }
    return f;
}

}  // namespace ravo
