#pragma once
#include <QWidget>

#include "desktop/view_pane.h"
#include "jobs/job_events.h"
#include "jobs/job_requests.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QHBoxLayout;

namespace ravo::desktop {

class CUnitLogListCtrl;

// What the two unit log list views share: the list filling the view, and
// under it the download's progress by records with its "Cancel" button. Both
// follow the frame's state whether they show or not.
class CViewUnitLogs : public QWidget, public ViewPane {
    Q_OBJECT
public:
    void treeSelection(const TreeLabels& labels) override;

    CUnitLogListCtrl* list() const { return list_; }
    QProgressBar* progressBar() const { return progress_; }

protected:
    CViewUnitLogs(ViewContext ctx, bool redbox, QWidget* parent);
    // The row of buttons under the list, for a view's own buttons.
    QHBoxLayout* buttonRow() const { return buttons_; }
    // Enables and shows what the frame's state allows.
    virtual void updateState();

    ViewContext ctx_;
    LogKind kind() const { return redbox_ ? LogKind::Redbox : LogKind::Dive; }
    QLabel* note_ = nullptr;

private:
    bool redbox_;
    bool shownRunning_ = false;
    JobKind shownKind_ = JobKind::None;
    CUnitLogListCtrl* list_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
};

}  // namespace ravo::desktop
