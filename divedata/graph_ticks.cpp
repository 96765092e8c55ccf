#include "divedata/graph_ticks.h"

#include <algorithm>
#include <cmath>


namespace ravo {

double RoundStep(double range, double pixels, double minSpacing, double minStep)
{
    if (!(range > 0.0) || !(pixels > 0.0) || !std::isfinite(range))
        return std::max(minStep, 1.0);
    // At most this many steps fit.
    const double count = std::max(1.0, std::floor(pixels / std::max(minSpacing, 1.0)));
    const double rough = std::max(range / count, minStep);
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (;;) {
        for (double mantissa : {1.0, 2.0, 5.0}) {
            const double step = mantissa * power;
            // A little slack so 0.1 * 10 counts as 1.
            if (step >= rough * (1.0 - 1e-9) && step >= minStep * (1.0 - 1e-9))
                return step;
        }
        power *= 10.0;
    }
}

uint64_t RoundTimeStep(uint64_t range, double pixels, double minSpacing)
{
    static const uint64_t kSteps[] = {30, 60, 120, 300, 600, 900, 1200, 1800, 3600, 7200, 10800, 21600, 43200};
    const double count = std::max(1.0, std::floor(pixels / std::max(minSpacing, 1.0)));
    const double rough = double(range) / count;
    for (uint64_t step : kSteps)
        if (double(step) >= rough)
            return step;
    // Beyond half a day: whole days.
    return uint64_t(std::ceil(rough / 86400.0)) * 86400;
}

std::vector<double> TickValues(double lo, double hi, double step)
{
    std::vector<double> values;
    if (!(step > 0.0) || !(hi >= lo) || !std::isfinite(lo) || !std::isfinite(hi))
        return values;
    const double first = std::ceil(lo / step - 1e-9);
    const double last = std::floor(hi / step + 1e-9);
    if (last - first > 10000)
        return values;
    for (double k = first; k <= last; k += 1.0) {
        double v = k * step;
        values.push_back(v == 0.0 ? 0.0 : v);  // no "-0"
    }
    return values;
}

}  // namespace ravo
