#include "desktop/views/view_unit_dive.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/frame_state.h"
#include "app/ravo_config_app.h"
#include "app/unit_log_view_state.h"
#include "desktop/controls/unit_log_list_ctrl.h"
#include "divedata/download_plan.h"

namespace ravo::desktop {

CViewUnitDive::CViewUnitDive(ViewContext ctx, QWidget* parent) : CViewUnitLogs(ctx, false, parent)
{
    selected_ = new QPushButton("Download selected", this);
    selected_->setAccessibleName("Download selected");
    fresh_ = new QPushButton("Download new", this);
    fresh_->setAccessibleName("Download new");
    buttonRow()->insertWidget(1, selected_);
    buttonRow()->insertWidget(2, fresh_);
    connect(selected_, &QPushButton::clicked, this, &CViewUnitDive::downloadSelected);
    connect(fresh_, &QPushButton::clicked, this, &CViewUnitDive::downloadNew);
    updateState();
}

void CViewUnitDive::downloadSelected()
{
    list()->requestDownload(list()->selectedEntries());
}

void CViewUnitDive::downloadNew()
{
    if (ctx_.state.job.running)
        return;
    const std::vector<CDiveInfo> wanted = DivesToDownload(ctx_.state.dives.entries, ctx_.app.config.diveFolder);
    if (wanted.empty()) {
        note_->setText("Every dive is saved");
        return;
    }
    note_->clear();
    list()->requestDownload(wanted);
}

void CViewUnitDive::updateState()
{
    CViewUnitLogs::updateState();
    const bool idle = unitLogViewState(ctx_.state, LogKind::Dive).idle;
    selected_->setEnabled(idle);
    fresh_->setEnabled(idle);
}

}  // namespace ravo::desktop
