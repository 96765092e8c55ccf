#include "desktop/job_event_bridge.h"

#include <QCoreApplication>
#include <QEvent>

namespace ravo::desktop {

JobEventBridge::JobEventBridge(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<std::string>();
    qRegisterMetaType<ravo::JobProgress>();
    qRegisterMetaType<ravo::CDiveLog>();
    qRegisterMetaType<ravo::LogDirectory>();
    qRegisterMetaType<ravo::LinkEvent>();
    qRegisterMetaType<ravo::JobOutcome>();
}

void JobEventBridge::connectTo(JobEvents& target)
{
    // Queued even from this thread: the events always come in their order,
    // after the call that caused them has returned.
    const auto queued = Qt::QueuedConnection;
    JobEvents* t = &target;
    connect(this, &JobEventBridge::statusLineSent, this, [t](const std::string& s) { t->statusLine(s); }, queued);
    connect(this, &JobEventBridge::firmwareTextSent, this, [t](const std::string& s) { t->firmwareText(s); }, queued);
    connect(this, &JobEventBridge::progressSent, this, [t](const JobProgress& p) { t->progress(p); }, queued);
    connect(this, &JobEventBridge::unitFoundSent, this, [t](quint16 unit) { t->unitFound(unit); }, queued);
    connect(this, &JobEventBridge::logSent, this, [t](const CDiveLog& log) { t->logDownloaded(log); }, queued);
    connect(this, &JobEventBridge::directorySent, this, [t](const LogDirectory& d) { t->directoryRead(d); }, queued);
    connect(this, &JobEventBridge::linkStateSent, this, [t](const LinkEvent& e) { t->linkState(e); }, queued);
    connect(this, &JobEventBridge::jobFinishedSent, this, [t](const JobOutcome& o) { t->jobFinished(o); }, queued);
}

void JobEventBridge::deliverPending()
{
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

}  // namespace ravo::desktop
