#include "unit_view_bench.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/config_store.h"
#include "desktop/frame_signals.h"
#include "desktop/list_unit.h"
#include "desktop/unit/settings_list_ctrl.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"

namespace ravo::test {

UnitViewBench::UnitViewBench(const std::string& preset, const std::string& unitText)
{
    sim::registerSimTransport();
    sim::forgetSimUnits();
    sim::setSimClock(&clock);
    std::string error;
    unit = sim::simUnitFor(preset, error);
    auto store = std::make_unique<MemoryConfigStore>();
    store->writeText("KTLS", "FWFOLDER", home.file("firmware"));
    store->writeText("KTLS", "DATAFOLDER", home.path());
    store->writeText("KTLS", "DIVEFOLDER", home.file("dives"));
    store->writeText("KTLS", "UNIT_NR", unitText);
    store->writeText("KTLS", "LINK", "sim:" + preset);
    app.config.startFolder = home.path();
    if (!app.startUp(std::move(store), error))
        ADD_FAILURE() << error;
    app.worker->setClock(&clock);
    frame = std::make_unique<desktop::CMainFrame>(app);
    events = std::make_unique<RelayEvents>(frame->jobEvents());
    frame->dispatcher().setWorkerEvents(events.get());
    QObject::connect(&frame->frameSignals(), &desktop::FrameSignals::jobEnded, frame.get(),
                     [this](const JobOutcome& outcome) {
                         ended.push_back(outcome.kind);
                         statusAtEnd.push_back(status());
                     });
    frame->resize(1200, 860);
    frame->show();
    frame->tree().selectPath({"Ravo unit"});
    view = dynamic_cast<desktop::CViewUnit*>(frame->view(VIEW_UNIT));
    view->confirmDownload = [this](const QString& question) {
        downloadQuestions.push_back(question.toStdString());
        return answerDownload;
    };
}

UnitViewBench::~UnitViewBench()
{
    events->release();
    frame.reset();
    app.worker->waitFinished(20000);
    app.worker->closeLink();
    app.worker->setClock(nullptr);
    app.shutDown();
    sim::forgetSimUnits();
    sim::setSimClock(nullptr);
}

void UnitViewBench::finishJob()
{
    QElapsedTimer timer;
    timer.start();
    while (frame->dispatcher().busy() && timer.elapsed() < 20000)
        QTest::qWait(5);
    EXPECT_FALSE(frame->dispatcher().busy()) << "the job's end reached the window";
}

void UnitViewBench::readInfo()
{
    QTest::mouseClick(static_cast<QAbstractButton*>(control("Read Info")), Qt::LeftButton);
    finishJob();
}

QWidget* UnitViewBench::control(const QString& accessibleName) const
{
    if (QWidget* w = firstAnswering<QWidget>(view->findChildren<QWidget*>(), accessibleName))
        return w;
    ADD_FAILURE() << "no control named " << accessibleName.toStdString();
    return nullptr;
}

QTreeWidgetItem* UnitViewBench::row(const QString& name) const
{
    auto items = view->settingsList()->findItems(name, Qt::MatchExactly, 0);
    return items.isEmpty() ? nullptr : items.first();
}

int UnitViewBench::rowCount() const
{
    QTreeWidget* list = view->settingsList();
    int rows = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows += desktop::CSettingsListCtrl::isGroupHeader(list->topLevelItem(i)) ? 0 : 1;
    return rows;
}

void UnitViewBench::doubleClickRow(const QString& name)
{
    QTreeWidget* list = view->settingsList();
    QTreeWidgetItem* item = row(name);
    ASSERT_TRUE(item) << name.toStdString();
    list->scrollToItem(item);
    QPoint at = list->visualItemRect(item).center();
    // A double-click is a click and a second press: the list edits the row it was pressed on.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace ravo::test
