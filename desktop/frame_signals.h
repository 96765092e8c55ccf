#pragma once
#include <QObject>

#include "app/frame_state.h"
#include "desktop/job_metatypes.h"

namespace ravo::desktop {

// The frame's state changes as signals, for every view at once: whether a
// job runs, its kind and progress; the unit's values; the directories; the
// link. The state itself is the dispatcher's (FrameState).
class FrameSignals : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void jobChanged();
    void unitChanged();
    void directoryChanged();
    void linkChanged();
    // A job ended; its requester acts on the result.
    void jobEnded(const ravo::JobOutcome& outcome);
};

}  // namespace ravo::desktop
