// Paints dive profiles with the QPainter renderer of the draw list and prints
// the median of 50 paints of each:
//   a three-hour dive (10,800 depth samples) into 800x500,
//   a ten-hour dive (36,000 depth samples, a temperature and two pressure
//   samples a minute) into 1600x900, depth only and with every curve
//   (target: each under 10 ms),
// and of 50 DiveGraph::SetData calls for the ten-hour log.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "desktop/paint/draw_list_painter.h"
#include "divedata/dive_graph.h"

namespace {

using Clock = std::chrono::steady_clock;

double medianMs(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Down to about 60 m and back over `seconds`, with a wobble so no two
// seconds repeat; other samples every minute when `curves`.
ravo::CDiveLog diveOf(int seconds, bool curves)
{
    ravo::CDiveLog log;
    log.isDive = true;
    for (int t = 0; t < seconds; ++t) {
        double depth = 60.0 * std::sin(M_PI * t / seconds) + 2.0 * std::sin(t / 7.0);
        int value = std::clamp(int(std::lround(std::max(0.0, depth) * 2)), 0, 255);
        log.samples.push_back({uint16_t(t), ravo::KindDepth, uint8_t(value)});
        if (curves && t % 60 == 0) {
            log.samples.push_back({uint16_t(t), ravo::KindTemperature, uint8_t(60 + (t / 600) % 30)});
            log.samples.push_back({uint16_t(t), ravo::KindHpO2, uint8_t(200 - t * 150 / seconds)});
            log.samples.push_back({uint16_t(t), ravo::KindHpDil, uint8_t(190 - t * 100 / seconds)});
        }
    }
    log.info.recordCount = uint32_t(log.samples.size());
    return log;
}

struct Figures {
    double paint = 0.0;
    double setData = 0.0;
    size_t points = 0;
};

Figures measure(const ravo::CDiveLog& log, int width, int height, ravo::GraphCurves curves)
{
    constexpr int kRuns = 50;
    auto graph = std::make_unique<ravo::DiveGraph>();
    graph->curves = curves;
    std::vector<double> setData, paint;
    QImage canvas;
    Figures f;
    for (int i = 0; i < kRuns; ++i) {
        auto start = Clock::now();
        graph->SetData(&log);
        auto loaded = Clock::now();
        const ravo::DrawList list = graph->Draw(width, height);
        ravo::paint::RenderInto(canvas, list);
        auto painted = Clock::now();
        setData.push_back(std::chrono::duration<double, std::milli>(loaded - start).count());
        paint.push_back(std::chrono::duration<double, std::milli>(painted - loaded).count());
        f.points = 0;
        for (const ravo::DrawOp& op : list.ops)
            f.points += op.points.size();
    }
    f.paint = medianMs(paint);
    f.setData = medianMs(setData);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const ravo::CDiveLog threeHours = diveOf(10800, false);
    const ravo::CDiveLog tenHours = diveOf(36000, true);

    const Figures a = measure(threeHours, 800, 500, {});
    const Figures b = measure(tenHours, 1600, 900, {});
    const Figures c = measure(tenHours, 1600, 900, {true, true, true});
    std::printf("bench_graph_paint: median of 50 paints (draw list + QPainter into the image), target < 10 ms each\n");
    std::printf("  3 h dive, %zu samples, 800x500, depth:          %.3f ms (%zu points drawn)\n",
                threeHours.samples.size(), a.paint, a.points);
    std::printf("  10 h dive, %zu samples, 1600x900, depth:        %.3f ms (%zu points drawn)\n",
                tenHours.samples.size(), b.paint, b.points);
    std::printf("  10 h dive, %zu samples, 1600x900, every curve:  %.3f ms (%zu points drawn)\n",
                tenHours.samples.size(), c.paint, c.points);
    std::printf("  DiveGraph::SetData, 10 h dive:                       %.3f ms\n", c.setData);
    return std::max({a.paint, b.paint, c.paint}) < 10.0 ? 0 : 1;
}
