#pragma once
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "app/ravo_config_app.h"
#include "desktop/list_unit.h"
#include "desktop/main_frame.h"
#include "support_desktop/modal_helpers.h"
#include "sim/sim_registration.h"
#include "support/temp_dir.h"

namespace ravo::test {

// An application started on a store of its own, in a folder of its own,
// linked to the simulated unit (or the scenario given).
class ShellTest : public ::testing::Test {
protected:
    void startApp(const std::string& link = "sim")
    {
        sim::registerSimTransport();
        app = std::make_unique<CRavo_ConfigApp>();
        app->config.startFolder = dir.path();
        app->config.diveFolder = dir.file("dive");
        app->config.redboxFolder = dir.file("redbox");
        app->config.linkAddress = link;
        std::string error;
        ASSERT_TRUE(app->startUp(std::make_unique<MemoryConfigStore>(), error));
    }

    void openFrame(FramePeriods periods = {})
    {
        frame = std::make_unique<desktop::CMainFrame>(*app, periods);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    // A long dive that takes the link seconds to carry.
    std::string slowLongDive()
    {
        writeFile(dir.file("slow.json"),
                  R"({"preset": "long-dive", "timing": {"enabled": true, "baud": 115200, "turnaroundMs": 5}})");
        return "sim:" + dir.file("slow.json");
    }

    static bool waitFor(const std::function<bool()>& condition, int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > ms)
                return false;
            QTest::qWait(10);
        }
        return true;
    }

    template <typename T = QWidget>
    T* named(const QString& name) const
    {
        QList<T*> shown;
        for (T* widget : frame->findChildren<T*>())
            if (widget->isVisible())
                shown.push_back(widget);
        return firstAnswering<T>(shown, name);
    }

    // Clicks the tree node at `path`, opening its parents as a user would.
    bool clickNode(const QStringList& path)
    {
        desktop::MListUnit& tree = frame->tree();
        QTreeWidgetItem* item = tree.findRoot(path[0]);
        for (int i = 1; item && i < path.size(); ++i) {
            item->setExpanded(true);
            QTreeWidgetItem* next = nullptr;
            for (int c = 0; c < item->childCount(); ++c)
                if (item->child(c)->text(0) == path[i])
                    next = item->child(c);
            item = next;
        }
        if (!item)
            return false;
        tree.scrollToItem(item);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
        return true;
    }

    std::string status() const { return frame->dispatcher().statusText(); }
    // The window's own "busy": from the request until the job's end was handled.
    bool jobRunning() const { return frame->dispatcher().busy(); }

    TempDir dir;
    std::unique_ptr<CRavo_ConfigApp> app;
    std::unique_ptr<desktop::CMainFrame> frame;
};

}  // namespace ravo::test
