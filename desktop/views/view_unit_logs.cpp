#include "desktop/views/view_unit_logs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/frame_ports.h"
#include "app/frame_state.h"
#include "app/unit_log_view_state.h"
#include "desktop/controls/unit_log_list_ctrl.h"
#include "desktop/frame_signals.h"

namespace ravo::desktop {

CViewUnitLogs::CViewUnitLogs(ViewContext ctx, bool redbox, QWidget* parent)
    : QWidget(parent), ctx_(ctx), redbox_(redbox)
{
    if (redbox)
        list_ = new CUnitRedboxListCtrl(ctx, this);
    else
        list_ = new CUnitDiveListCtrl(ctx, this);

    progress_ = new QProgressBar(this);
    progress_->setAccessibleName("Download progress");
    progress_->setFormat("%v of %m records");
    progress_->setTextVisible(true);
    progress_->setVisible(false);

    cancel_ = new QPushButton("Cancel", this);
    cancel_->setAccessibleName("Cancel");
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, [this] { ctx_.frame.requestStop(); });

    note_ = new QLabel(this);
    note_->setAccessibleName("Download note");

    buttons_ = new QHBoxLayout;
    buttons_->addWidget(note_, 1);
    buttons_->addWidget(progress_, 2);
    buttons_->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons_);

    list_->ResetColumns();
    connect(&ctx_.changes, &FrameSignals::jobChanged, this, [this] {
        // A job's start and end change what the list shows (a directory being
        // read shows nothing); its progress only the state below the list.
        const JobStatus& job = ctx_.state.job;
        if (job.running != shownRunning_ || job.kind != shownKind_) {
            shownRunning_ = job.running;
            shownKind_ = job.kind;
            list_->Fill();
        }
        updateState();
    });
    connect(&ctx_.changes, &FrameSignals::directoryChanged, this, [this] {
        list_->Fill();
        updateState();
    });
}

void CViewUnitLogs::treeSelection(const TreeLabels&)
{
    list_->Fill();
    updateState();
}

void CViewUnitLogs::updateState()
{
    const UnitLogViewState state = unitLogViewState(ctx_.state, kind());
    progress_->setVisible(state.progressShown);
    if (state.progressShown) {
        progress_->setRange(0, int(std::max<uint32_t>(state.total, 1)));
        progress_->setValue(int(state.records));
        progress_->setAccessibleDescription(QString::fromStdString(state.progressText));
    }
    cancel_->setEnabled(state.downloading);
    if (state.downloading)
        note_->clear();
    else if (!state.lastResult.empty())
        note_->setText(QString::fromStdString(state.lastResult));
}

}  // namespace ravo::desktop
