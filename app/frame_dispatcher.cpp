#include "app/frame_dispatcher.h"

#include <cstdarg>

#include "app/tree_rules.h"
#include "app/unit_view_rules.h"
#include "divedata/log_handover.h"
#include "jobs/request_lines.h"
#include "link/c_format.h"
#include "link/unit_number.h"
#include "link/unit_time.h"

namespace ravo {
namespace {

// A unit restarting into new firmware is read at most this often before the
// window gives up and leaves it to the user's "Read Info".
constexpr int kRereadTries = 3;

}  // namespace

FrameDispatcher::FrameDispatcher(CRavo_ConfigApp& app, FrameWindow& window, FrameTimers& timers,
                                 FramePeriods periods, Clock& clock)
    : app_(app), window_(window), timers_(timers), periods_(periods), clock_(clock),
      bootloaderUnits_(app.configStore())
{
}

void FrameDispatcher::begin()
{
    state_.online = false;
    window_.showOnline(false);
    timers_.startFrameTimer(TIMER_ONLINE, periods_.onlineMs);
}

void FrameDispatcher::setStatus(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    vformatC(buffer, sizeof buffer, format, args);
    va_end(args);
    status_ = buffer;
    window_.showStatusText(status_);
}

void FrameDispatcher::changed(FrameChange change)
{
    window_.stateChanged(change);
}

bool FrameDispatcher::refuseWhileBusy()
{
    if (!busy())
        return false;
    setStatus("%s", kUnitBusyText);
    return true;
}

bool FrameDispatcher::startJob(JobRequest request)
{
    const JobKind kind = jobKindOf(request);
    if (!worker().start(std::move(request), workerEvents_ ? *workerEvents_ : *this)) {
        setStatus("%s", kUnitBusyText);
        return false;
    }
    // A new job starts with no progress: nothing of the last one may show.
    state_.job = JobStatus{true, kind, {}, false};
    linkLostReason_.clear();
    changed(FrameChange::Job);
    return true;
}

void FrameDispatcher::restartLinkIdle()
{
    timers_.stopFrameTimer(TIMER_LINK_IDLE);
    timers_.startFrameTimer(TIMER_LINK_IDLE, periods_.linkIdleMs);
    // The job may have cleared the stop as it connected: a close keeps asking.
    if (closePending_ && busy())
        worker().requestStop();
}

// --- requests ---

void FrameDispatcher::treeSelected(const TreeLabels& labels)
{
    switch (selectionBranch(labels)) {
    case TreeBranch::Units: unitSelected(labels); break;
    case TreeBranch::SavedLogs: savedLogSelected(labels); break;
    case TreeBranch::None: break;
    }
}

void FrameDispatcher::unitSelected(const TreeLabels& labels)
{
    if (!labels.unitLabel.empty())
        app_.config.setUnitNumberText(labels.unitLabel);
    if (labels.nodeLabel == kDiveLogNode || labels.nodeLabel == kRedboxLogNode) {
        directorySelected(labels, labels.nodeLabel == kDiveLogNode);
        return;
    }
    window_.showView(VIEW_UNIT);
    // During a job the status line stays the job's: the view shows the job's
    // state (its "Cancel" among it) whatever the line says.
    if (!busy())
        setStatus("Select a unit");
    window_.selectionToView(labels);
}

void FrameDispatcher::directorySelected(const TreeLabels& labels, bool dive)
{
    window_.showView(dive ? VIEW_UNIT_DIVE : VIEW_UNIT_REDBOX);
    if (refuseWhileBusy()) {
        window_.selectionToView(labels);
        return;
    }
    setStatus(dive ? "Double-click to get dive data from unit" : "Double-click to get unitlog data from unit");
    bool& read = dive ? diveDirectoryRead_ : redboxDirectoryRead_;
    if (read) {
        window_.selectionToView(labels);
        return;
    }
    read = true;
    const LogKind kind = dive ? LogKind::Dive : LogKind::Redbox;
    jobUnit_ = app_.config.currentUnitNumber();
    (dive ? state_.dives : state_.redbox) = LogDirectory{kind, jobUnit_, {}, {}};
    changed(FrameChange::Directory);
    startJob(DirectoryRequest{jobUnit_, kind, true});
}

void FrameDispatcher::savedLogSelected(const TreeLabels& labels)
{
    if (labels.unitLabel.empty())
        relistSavedLogs();
    if (labels.nodeLabel == kHealthNode) {
        window_.showView(VIEW_HEALTH);
        if (!busy())
            setStatus("Health of unit %s across its saved dives", labels.unitLabel.c_str());
        window_.selectionToView(labels);
        return;
    }
    setStatus("Select a dive log");
    // The root and a unit under it show the logbook (of every unit, or of
    // that unit); a saved log shows its dive.
    window_.showView(labels.nodeLabel.empty() ? VIEW_LOGBOOK : VIEW_DIVE);
    window_.selectionToView(labels);
}

void FrameDispatcher::relistSavedLogs()
{
    app_.listSavedDives();
    window_.rebuildSavedLogs();
}

void FrameDispatcher::requestReadInfo()
{
    readInfo(false);
}

void FrameDispatcher::requestRereadSettings()
{
    readInfo(true);
}

void FrameDispatcher::readInfo(bool settingsOnly)
{
    if (refuseWhileBusy())
        return;
    diveDirectoryRead_ = false;
    redboxDirectoryRead_ = false;
    jobUnit_ = app_.config.currentUnitNumber();
    setStatus("Read info from unit %04X", unsigned(jobUnit_));
    startJob(ReadInfoRequest{jobUnit_, settingsOnly, true});
}

void FrameDispatcher::requestFirmware(const std::string& path)
{
    if (refuseWhileBusy())
        return;
    const uint16_t unit = app_.config.currentUnitNumber();
    const int mode = app_.config.downloadMode;
    RequestLines lines = firmwareRequestLines(mode, unit, path);
    setStatus("%s", lines.status.c_str());
    app_.log.write(lines.log);
    jobUnit_ = unit;
    const FirmwareMode firmwareMode = mode == int(FirmwareMode::Bootloader) ? FirmwareMode::Bootloader
                                      : mode == int(FirmwareMode::Forced)   ? FirmwareMode::Forced
                                                                            : FirmwareMode::Normal;
    startJob(FirmwareRequest{unit, path, firmwareMode});
}

void FrameDispatcher::requestLogs(LogKind kind, const std::vector<CDiveInfo>& entries)
{
    if (entries.empty() || refuseWhileBusy())
        return;
    const CDiveInfo& first = entries.front();
    jobUnit_ = uint16_t(first.unitNumber);
    if (entries.size() > 1)
        setStatus("Read %d dives from unit %04X", int(entries.size()), unsigned(jobUnit_));
    else if (kind == LogKind::Dive)
        setStatus("Read divedata from unit %04X index %d", unsigned(jobUnit_), int(first.index));
    else
        setStatus("Read redbox log from unit %04X index %d", unsigned(jobUnit_), int(first.index));
    startJob(LogsRequest{jobUnit_, kind, entries});
}

void FrameDispatcher::requestFixSerial()
{
    if (refuseWhileBusy())
        return;
    const uint16_t unit = app_.config.currentUnitNumber();
    FixSerialLines request = fixSerialLines(unit);
    setStatus("%s", request.lines.status.c_str());
    app_.log.write(request.lines.log);
    if (!request.start)
        return;
    jobUnit_ = unit;
    startJob(FixSerialRequest{unit});
}

void FrameDispatcher::requestEditRow(const EditRowRequest& request)
{
    if (!refuseWhileBusy())
        startJob(request);
}

void FrameDispatcher::requestRestore(const RestoreRequest& request)
{
    if (!refuseWhileBusy())
        startJob(request);
}

void FrameDispatcher::requestPowerDown()
{
    if (!refuseWhileBusy())
        startJob(PowerDownRequest{});
}

void FrameDispatcher::requestTestLink(const std::string& address)
{
    if (refuseWhileBusy())
        return;
    worker().closeLink();
    worker().setLinkAddress(address);
    setStatus("Test link [%s]", address.c_str());
    startJob(ConnectRequest{app_.config.currentUnitNumber(), true, false});
}

void FrameDispatcher::requestStop()
{
    if (!busy())
        return;
    worker().requestStop();
    state_.job.stopAsked = true;
    changed(FrameChange::Job);
}

void FrameDispatcher::showStatus(const std::string& text)
{
    setStatus("%s", text.c_str());
}

// --- the worker's events ---

void FrameDispatcher::statusLine(const std::string& text)
{
    restartLinkIdle();
    setStatus("%s", text.c_str());
}

void FrameDispatcher::firmwareText(const std::string& text)
{
    restartLinkIdle();
    state_.unit.firmwareText = text;
    changed(FrameChange::Unit);
}

void FrameDispatcher::progress(const JobProgress& progress)
{
    restartLinkIdle();
    if (!busy())
        return;
    state_.job.progress = progress;
    changed(FrameChange::Job);
}

void FrameDispatcher::unitFound(uint16_t unit)
{
    restartLinkIdle();
    if (ConfigStore* store = app_.configStore())
        app_.config.rememberAnsweringUnit(*store, unit);
    window_.addUnitToTree(formatUnitNumber(unit));
}

void FrameDispatcher::logDownloaded(const CDiveLog& downloaded)
{
    restartLinkIdle();
    // The unit did not know the entry: there is no log, only an empty one that
    // would be saved under unit time 0.
    if (!downloaded.info.valid)
        return;
    CDiveLog log = downloaded;
    LogHandover handover;
    handover.diveFolder = app_.config.diveFolder;
    handover.redboxFolder = &app_.config.redboxFolder;
    handover.savedDiveNames = &app_.savedDiveNames;
    handover.chooseRedboxPath = [this](const std::string& proposed, std::string& chosen) {
        return window_.chooseRedboxPath(proposed, chosen);
    };
    FileMessages messages;
    HandleLogDownloaded(log, handover, &messages);
    if (!messages.empty())
        window_.showFileErrors(messages);
    window_.rebuildSavedLogs();
    changed(FrameChange::Directory);
}

void FrameDispatcher::directoryRead(const LogDirectory& directory)
{
    restartLinkIdle();
    (directory.kind == LogKind::Dive ? state_.dives : state_.redbox) = directory;
    changed(FrameChange::Directory);
}

void FrameDispatcher::linkState(const LinkEvent& event)
{
    restartLinkIdle();
    heardUnit(event.kind == LinkEvent::UnitAnswered);
    if (event.kind == LinkEvent::LinkLost) {
        linkLostReason_ = event.reason;
        // A new link must read the directories again.
        diveDirectoryRead_ = false;
        redboxDirectoryRead_ = false;
        state_.linkOpen = false;
        changed(FrameChange::Link);
    }
}

void FrameDispatcher::heardUnit(bool answered)
{
    const bool was = state_.online;
    answeredEver_ = answered;
    if (answered)
        lastAnswerMs_ = clock_.nowMs();
    state_.online = answered;
    if (state_.online != was) {
        window_.showOnline(state_.online);
        changed(FrameChange::Link);
    }
}

void FrameDispatcher::jobFinished(const JobOutcome& outcome)
{
    restartLinkIdle();
    if (!busy())
        return;
    state_.job = JobStatus{};
    // The worker is idle now: what it says of its link is settled.
    state_.linkOpen = worker().linkOpen();
    const bool talkedToUnit = outcome.kind != JobKind::EditRow && outcome.kind != JobKind::RestoreSettings &&
                              outcome.kind != JobKind::PowerDown;
    if (talkedToUnit && (outcome.connect == -1 || outcome.connect == -2)) {
        // No link and no unit: nothing read before stays true.
        state_.unit.versions.reset();
        state_.unit.voltage.reset();
    }
    if (const auto* r = outcome.as<ReadInfoResult>())
        readInfoEnded(outcome, *r);
    else if (const auto* r = outcome.as<FirmwareResult>())
        firmwareEnded(outcome, *r);
    else if (const auto* r = outcome.as<LogsResult>())
        logsEnded(outcome, *r);
    else if (const auto* r = outcome.as<EditRowResult>())
        editEnded(*r);
    else if (const auto* r = outcome.as<RestoreSettingsResult>())
        restoreEnded(*r);
    else if (const auto* r = outcome.as<PowerDownResult>()) {
        if (r->sent)
            heardUnit(false);
    }
    if (talkedToUnit && !outcome.as<ReadInfoResult>() && !outcome.as<FirmwareResult>())
        state_.unit.resultText = resultTextFor(outcome, {});
    changed(FrameChange::Unit);
    changed(FrameChange::Link);
    changed(FrameChange::Job);
    window_.jobEnded(outcome);
    if (closePending_ && !busy()) {
        closePending_ = false;
        window_.closeWindow();
    }
}

std::string FrameDispatcher::resultTextFor(const JobOutcome& outcome, const std::string& hint) const
{
    const std::string lost = linkLostReason_.empty() ? std::string() : "Link lost: " + linkLostReason_;
    return unitResultText(outcome.linkText, lost, hint);
}

void FrameDispatcher::readInfoEnded(const JobOutcome& outcome, const ReadInfoResult& r)
{
    UnitShown& unit = state_.unit;
    unit.unit = jobUnit_;
    if (!r.settingsOnly) {
        unit.versions = r.versions;
        unit.voltage = r.voltage;
    }
    if (r.settings) {
        unit.settings = *r.settings;
        unit.settingsRead = r.settings->valid != 0;
    } else if (!r.settingsOnly) {
        unit.settings.reset();
        unit.settingsRead = false;
    }
    unit.settingsReadAt = currentUnitTime();
    // A unit that answers its versions runs its firmware: it left its bootloader.
    if (r.versions)
        bootloaderUnits_.setWaiting(jobUnit_, false);
    // After an update the unit may still be restarting: try again a little later.
    const bool notBack = !outcome.connected() || r.code == -4;
    rereadTries_ = notBack && rereadTries_ > 1 && !r.settingsOnly ? rereadTries_ - 1 : 0;
    if (rereadTries_ > 0)
        timers_.startFrameTimer(TIMER_REREAD, periods_.rereadMs);
    unit.resultText = resultTextFor(outcome, readInfoEndHint(r.code, bootloaderUnits_.waiting(jobUnit_)));
}

void FrameDispatcher::firmwareEnded(const JobOutcome& outcome, const FirmwareResult& r)
{
    if (r.bootloader == BootloaderState::Waiting)
        bootloaderUnits_.setWaiting(jobUnit_, true);
    else if (r.bootloader == BootloaderState::Left)
        bootloaderUnits_.setWaiting(jobUnit_, false);
    const bool waits = bootloaderUnits_.waiting(jobUnit_);
    state_.unit.resultText = resultTextFor(outcome, firmwareEndHint(r.code, waits));
    if (closePending_ && !closeQuietly_ && waits)
        window_.notice(kProgramName, kUpdateStoppedNotice);
    if (r.bootloader != BootloaderState::Left)
        return;
    // The unit now runs other firmware: nothing read before holds, and it is
    // read again at once.
    state_.unit.versions.reset();
    state_.unit.settingsRead = false;
    if (closePending_)
        return;
    rereadTries_ = kRereadTries;
    readInfo(false);
}

void FrameDispatcher::logsEnded(const JobOutcome& outcome, const LogsResult& r)
{
    const bool redbox = outcome.kind == JobKind::RedboxLog;
    std::string& note = redbox ? state_.redboxDownloadNote : state_.diveDownloadNote;
    if (outcome.connected() && r.code == kJobLogIncomplete)
        note = redbox ? "The last download ended early: the log was saved incomplete"
                      : "The last download ended early: its dive is marked incomplete";
    else
        note.clear();
    changed(FrameChange::Directory);
}

void FrameDispatcher::editEnded(const EditRowResult& r)
{
    state_.unit.settings = r.record;
    if (r.reread && !closePending_)
        requestRereadSettings();
}

void FrameDispatcher::restoreEnded(const RestoreSettingsResult& r)
{
    state_.unit.settings = r.record;
    if (r.reread && !closePending_)
        requestRereadSettings();
}

// --- closing ---

bool FrameDispatcher::requestClose()
{
    return stopForClose(true);
}

bool FrameDispatcher::requestQuit()
{
    return stopForClose(false);
}

bool FrameDispatcher::stopForClose(bool ask)
{
    if (!busy())
        return true;
    if (closePending_)
        return false;
    // A stopped update leaves the unit in its bootloader: the user decides.
    if (ask && state_.job.kind == JobKind::Firmware && !window_.confirm(kProgramName, kCloseDuringUpdateQuestion))
        return false;
    // The update may have ended while the question was open.
    if (!busy())
        return true;
    closePending_ = true;
    closeQuietly_ = !ask;
    worker().requestStop();
    state_.job.stopAsked = true;
    setStatus("%s", kClosingText);
    changed(FrameChange::Job);
    return false;
}

// --- timers ---

void FrameDispatcher::onTimer(FrameTimer id)
{
    timers_.stopFrameTimer(id);
    switch (id) {
    case TIMER_ONLINE: testOnline(); break;
    case TIMER_LINK_IDLE: linkIdle(); break;
    case TIMER_REREAD:
        // The user started something else meanwhile: that is his call.
        if (rereadTries_ > 0 && !busy() && !closePending_)
            readInfo(false);
        else
            rereadTries_ = 0;
        break;
    }
}

void FrameDispatcher::testOnline()
{
    const bool online = answeredEver_ && clock_.nowMs() - lastAnswerMs_ <= periods_.onlinePeriodMs;
    if (online != state_.online) {
        state_.online = online;
        changed(FrameChange::Link);
    }
    window_.showOnline(state_.online);
    timers_.startFrameTimer(TIMER_ONLINE, periods_.onlineMs);
}

void FrameDispatcher::linkIdle()
{
    // Never under a running job: try again later.
    if (busy() || !worker().closeLink()) {
        timers_.startFrameTimer(TIMER_LINK_IDLE, periods_.linkIdleMs);
        return;
    }
    diveDirectoryRead_ = false;
    redboxDirectoryRead_ = false;
    state_.linkOpen = false;
    changed(FrameChange::Link);
}

}  // namespace ravo
