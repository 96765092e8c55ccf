#include "sim/sim_unit.h"

#include <algorithm>
#include <cstring>

#include "link/c_format.h"
#include "sim/sim_wire.h"

namespace ravo::sim {
namespace {

// A partly received chunk is given up after this long without a byte, so a
// stray request sent to the bootloader does not block it for ever.
constexpr double kChunkIdleMs = 1000;
constexpr char kEndMarker[] = "RAVOFW-END";
constexpr size_t kEndMarkerLength = sizeof kEndMarker - 1;
constexpr uint8_t kChunkAccepted = 0x11;
constexpr uint8_t kFrameStartByte = 0xFA;

}  // namespace

SimUnit::SimUnit(SimState state)
    : state_(std::move(state)), clock_(&systemClock()), random_(0xC4A11E46ull ^ state_.unitNumber)
{
    mode_ = state_.inBootloader ? Mode::Bootloader : Mode::Running;
    clockRefMs_ = nowMs();
    chunkFaultUses_.assign(state_.faults.chunkFaults.size(), 0);
}

void SimUnit::setClock(Clock* clock)
{
    std::lock_guard lock(mutex_);
    uint32_t time = unitTimeLocked();
    clock_ = clock ? clock : &systemClock();
    state_.clock = time;
    clockRefMs_ = nowMs();
    lineFreeMs_ = 0;
}

void SimUnit::setTrace(std::function<void(const std::string&)> trace)
{
    std::lock_guard lock(mutex_);
    trace_ = std::move(trace);
}

double SimUnit::nowMs()
{
    return clock_->fineMs();
}

void SimUnit::trace(const std::string& line)
{
    if (trace_)
        trace_(line);
}

uint32_t SimUnit::unitTimeLocked()
{
    double elapsed = std::max(0.0, nowMs() - clockRefMs_);
    return state_.clock + uint32_t(elapsed / 1000);
}

void SimUnit::refreshMode()
{
    if ((mode_ == Mode::Restarting || mode_ == Mode::Off) && nowMs() >= restartUntilMs_) {
        mode_ = afterRestart_;
        state_.inBootloader = mode_ == Mode::Bootloader;
        trace(mode_ == Mode::Bootloader ? "unit: bootloader ready" : "unit: running");
    }
}

bool SimUnit::reachable()
{
    std::lock_guard lock(mutex_);
    refreshMode();
    return mode_ == Mode::Running || mode_ == Mode::Bootloader;
}

SimUnit::Mode SimUnit::mode()
{
    std::lock_guard lock(mutex_);
    refreshMode();
    return mode_;
}

void SimUnit::connectionOpened()
{
    std::lock_guard lock(mutex_);
    ++stats_.connections;
    session_ = SimSession{};
    reader_.reset();
    exchanges_ = 0;
    connectionDropped_ = false;
    chunk_.clear();
    chunkHeader_ = 0;
    noiseFromMs_ = nowMs();
    trace("unit: connected");
}

void SimUnit::connectionClosed()
{
    std::lock_guard lock(mutex_);
    session_ = SimSession{};
    reader_.reset();
    chunk_.clear();
    chunkHeader_ = 0;
}

SimState SimUnit::state()
{
    std::lock_guard lock(mutex_);
    SimState copy = state_;
    copy.clock = unitTimeLocked();
    copy.inBootloader = mode_ == Mode::Bootloader;
    return copy;
}

void SimUnit::update(const std::function<void(SimState&)>& change)
{
    std::lock_guard lock(mutex_);
    state_.clock = unitTimeLocked();
    clockRefMs_ = nowMs();
    bool wasInBootloader = state_.inBootloader;
    change(state_);
    if (state_.inBootloader != wasInBootloader && mode_ != Mode::Restarting && mode_ != Mode::Off)
        mode_ = state_.inBootloader ? Mode::Bootloader : Mode::Running;
    chunkFaultUses_.resize(state_.faults.chunkFaults.size(), 0);
}

SimStats SimUnit::stats()
{
    std::lock_guard lock(mutex_);
    stats_.rejectedFrames = reader_.rejected();
    return stats_;
}

uint32_t SimUnit::unitTime()
{
    std::lock_guard lock(mutex_);
    return unitTimeLocked();
}

SimReaction SimUnit::receive(const uint8_t* data, size_t length)
{
    std::lock_guard lock(mutex_);
    SimReaction out;
    refreshMode();
    for (size_t i = 0; i < length && !connectionDropped_; ++i) {
        if (mode_ == Mode::Running) {
            SimRequest request;
            if (reader_.feed(data[i], request))
                runFirmware(request, out);
        } else if (mode_ == Mode::Bootloader) {
            runBootloader(data[i], out);
        } else {
            break;  // restarting or off: nothing listens
        }
    }
    return out;
}

std::vector<uint8_t> SimUnit::noiseDue()
{
    std::lock_guard lock(mutex_);
    refreshMode();
    const double now = nowMs();
    std::vector<uint8_t> bytes;
    if (!state_.faults.noiseStream || (mode_ != Mode::Running && mode_ != Mode::Bootloader)) {
        noiseFromMs_ = now;
        return bytes;
    }
    const double bytesPerMs = std::max(1, state_.timing.baud) / 10000.0;
    // A long jump of the clock is not made up in full: a second's worth is plenty.
    const double span = std::min(now - noiseFromMs_, 1000.0);
    const size_t count = size_t(span * bytesPerMs);
    noiseFromMs_ = span < now - noiseFromMs_ ? now : noiseFromMs_ + double(count) / bytesPerMs;
    for (size_t i = 0; i < count; ++i)
        bytes.push_back(random_.next() % 61 == 0 ? kFrameStartByte : uint8_t(0x20 + random_.next() % 0xD0));
    return bytes;
}

bool SimUnit::streamsNoise()
{
    std::lock_guard lock(mutex_);
    return state_.faults.noiseStream;
}

void SimUnit::runFirmware(const SimRequest& request, SimReaction& out)
{
    ++stats_.requests;
    uint16_t version = state_.firmwareVersion();
    SimCommand command = commandForOpcode(request.opcode, version);
    trace(formatC("request unit %04X op %02X (%s) payload [%s]", unsigned(request.unitNumber),
                  unsigned(request.opcode), commandName(command), hexBytes(request.payload).c_str()));
    const SimFaults& faults = state_.faults;
    if (faults.silent || request.unitNumber != state_.unitNumber)
        return;
    if (faults.ignoreEvery > 0 && stats_.requests % faults.ignoreEvery == 0) {
        trace("fault: request ignored");
        return;
    }
    int recordsMax = faults.shortDataRecords > 0 ? std::min(faults.shortDataRecords, kDataRecordsMax) : kDataRecordsMax;
    SimAnswer answer = answerRequest(command, request.payload, state_, session_, unitTimeLocked(), random_, recordsMax);
    if (answer.setClock) {
        state_.clock = *answer.setClock;
        clockRefMs_ = nowMs();
    }
    if (!answer.reply) {
        trace("no answer");
        return;
    }
    ++stats_.replies;
    ++exchanges_;
    bool corrupt = faults.corruptEvery > 0 && stats_.replies % faults.corruptEvery == 0;
    uint16_t replyNumber = faults.replyUnitNumber >= 0 ? uint16_t(faults.replyUnitNumber) : state_.unitNumber;
    std::vector<uint8_t> frame = replyFrame(replyNumber, answer.opcode, answer.payload, corrupt);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < faults.noiseBytes; ++i)
        bytes.push_back(uint8_t(0x20 + random_.next() % 0xD0));  // never a frame byte
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    trace(formatC("reply op %02X", unsigned(answer.opcode)) + " [" + hexBytes(answer.payload) + "]" +
          (corrupt ? " (corrupted)" : ""));
    deliver(std::move(bytes), request.wireBytes, out);

    if (answer.effect == SimEffect::EnterBootloader) {
        trace("unit: restarting into the bootloader");
        restart(Mode::Bootloader, out);
    } else if (answer.effect == SimEffect::PowerDown) {
        if (state_.pendingUnitNumber >= 0) {
            trace(formatC("unit: unit number now %04X", unsigned(state_.pendingUnitNumber)));
            state_.unitNumber = uint16_t(state_.pendingUnitNumber);
            state_.pendingUnitNumber = -1;
        }
        trace("unit: powered down");
        restart(Mode::Running, out);
        mode_ = Mode::Off;
    } else if (faults.dropAfter > 0 && exchanges_ >= faults.dropAfter) {
        trace("fault: link dropped");
        out.dropLink = true;
        connectionDropped_ = true;
    }
}

void SimUnit::restart(Mode into, SimReaction& out)
{
    mode_ = Mode::Restarting;
    afterRestart_ = into;
    restartUntilMs_ = std::max(nowMs(), lineFreeMs_) + std::max(0, state_.restartMs);
    out.dropLink = true;
    connectionDropped_ = true;
    session_ = SimSession{};
    reader_.reset();
    chunk_.clear();
    chunkHeader_ = 0;
}

void SimUnit::deliver(std::vector<uint8_t> bytes, size_t requestWireBytes, SimReaction& out)
{
    const SimTiming& timing = state_.timing;
    double byteMs = timing.enabled && timing.baud > 0 ? 10000.0 / timing.baud : 0.0;
    double now = nowMs();
    double start = std::max(now + double(requestWireBytes) * byteMs, lineFreeMs_);
    if (timing.enabled)
        start += std::max(0, timing.turnaroundMs);
    int gap = state_.faults.splitGapMs;
    if (gap > 0 && bytes.size() >= 2) {
        size_t half = bytes.size() / 2;
        SimDelivery first{std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(half)), start + half * byteMs};
        SimDelivery second{std::vector<uint8_t>(bytes.begin() + long(half), bytes.end()),
                           first.atMs + gap + (bytes.size() - half) * byteMs};
        lineFreeMs_ = second.atMs;
        out.deliveries.push_back(std::move(first));
        out.deliveries.push_back(std::move(second));
        return;
    }
    double at = start + bytes.size() * byteMs;
    lineFreeMs_ = at;
    out.deliveries.push_back({std::move(bytes), at});
}

void SimUnit::runBootloader(uint8_t byte, SimReaction& out)
{
    double now = nowMs();
    if ((chunkHeader_ > 0 || !chunk_.empty()) && now - lastChunkByteMs_ > kChunkIdleMs) {
        trace("bootloader: partial chunk dropped");
        chunk_.clear();
        chunkHeader_ = 0;
    }
    lastChunkByteMs_ = now;
    if (chunkHeader_ == 0) {
        chunkLength_ = size_t(byte & 0x7F) << 8;
        chunkHeader_ = 1;
        return;
    }
    if (chunkHeader_ == 1) {
        chunkLength_ |= byte;
        chunkHeader_ = 2;
        chunk_.clear();
        if (chunkLength_ == 0)
            finishChunk(out);
        return;
    }
    chunk_.push_back(byte);
    if (chunk_.size() == chunkLength_)
        finishChunk(out);
}

void SimUnit::finishChunk(SimReaction& out)
{
    ++stats_.chunksReceived;
    int number = downloadChunks_ + 1;
    int answer = kChunkAccepted;
    auto& rules = state_.faults.chunkFaults;
    chunkFaultUses_.resize(rules.size(), 0);
    for (size_t i = 0; i < rules.size(); ++i) {
        if ((rules[i].chunk == 0 || rules[i].chunk == number) && chunkFaultUses_[i] < rules[i].times) {
            ++chunkFaultUses_[i];
            answer = rules[i].answer;
            break;
        }
    }
    size_t wire = chunk_.size() + 2;
    bool last = chunk_.size() == kEndMarkerLength + 2 && std::memcmp(chunk_.data(), kEndMarker, kEndMarkerLength) == 0;
    trace(formatC("bootloader: chunk %d, %u bytes, answer %s", number, unsigned(chunk_.size()),
                  answer < 0 ? "none" : formatC("%02X", unsigned(answer & 0xFF)).c_str()));
    chunkHeader_ = 0;
    if (answer < 0) {
        chunk_.clear();
        return;
    }
    deliver({uint8_t(answer)}, wire, out);
    if (answer == kChunkAccepted) {
        ++stats_.chunksAccepted;
        ++downloadChunks_;
        const int dropAt = state_.faults.dropAfterChunks;
        if (dropAt > 0 && downloadChunks_ == dropAt && !chunkDropDone_ && !last) {
            trace("fault: link dropped after a chunk");
            chunkDropDone_ = true;
            out.dropLink = true;
            connectionDropped_ = true;
        }
        if (last) {
            state_.mainVersion = chunk_[kEndMarkerLength];
            state_.betaNumber = chunk_[kEndMarkerLength + 1];
            trace(formatC("bootloader: image complete, restarting into %04X", unsigned(state_.firmwareVersion())));
            downloadChunks_ = 0;
            chunkFaultUses_.assign(rules.size(), 0);
            restart(Mode::Running, out);
        }
    }
    chunk_.clear();
}

}  // namespace ravo::sim
