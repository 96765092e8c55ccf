#include <QTimer>
#include <QWidget>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "desktop/busy_wait.h"

using namespace ravo::desktop;

// The window keeps handling its timers (and so its painting) while the work waits.
TEST(BusyWait, EventsFlowWhileTheWorkWaitsAndASecondCallIsRefused)
{
    QWidget window;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    bool nested = true;
    bool ran = runWhileRepainting(&window, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
    });
    QTimer::singleShot(0, [&] { nested = runWhileRepainting(&window, [] {}); });
    runWhileRepainting(&window, [&] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(nested);
    EXPECT_GE(ticks, 5);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(busyWaiting());
}
