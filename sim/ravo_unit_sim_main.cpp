// ravo-unit-sim: a simulated Ravo unit served over TCP or a pseudo-terminal.
#include <atomic>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "link/std_streams.h"
#include "sim/sim_command_input.h"
#include "sim/sim_firmware_image.h"
#include "sim/sim_presets.h"
#include "sim/sim_scenario.h"
#include "sim/sim_server.h"
#include "sim/sim_signals.h"
#include "sim/sim_unit.h"

namespace {

using namespace ravo::sim;

std::atomic<bool> g_stop{false};
std::atomic<bool> g_dump{false};

struct Options {
    int port = -1;
    bool pty = false;
    std::string preset;
    std::string scenario;
    bool listPresets = false;
    std::string unitNumber;
    std::string firmware;
    bool trace = false;
    std::string dumpPath;
    // timing
    bool timing = false;
    int baud = 0;
    int turnaroundMs = -1;
    int restartMs = -1;
    // faults
    int noise = 0, splitGap = 0, corruptEvery = 0, ignoreEvery = 0, dropAfter = 0, shortData = 0;
    int dropAfterChunk = 0;
    bool noiseStream = false;
    std::string replyUnit;
    bool silent = false;
    std::vector<std::string> chunkFaults;
    // firmware file
    std::string writeFirmware;
    std::string version = "4926";
    int chunks = 8;
    int chunkSize = 512;
};

bool parseHex(const std::string& text, unsigned max, unsigned& out)
{
    std::string digits = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0 ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8)
        return false;
    unsigned long v = 0;
    for (char c : digits) {
        int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : c >= 'a' && c <= 'f'                       ? c - 'a' + 10
                : c >= 'A' && c <= 'F'                       ? c - 'A' + 10
                                                             : -1;
        if (d < 0)
            return false;
        v = v * 16 + unsigned(d);
    }
    if (v > max)
        return false;
    out = unsigned(v);
    return true;
}

// "CHUNK:ANSWER[:TIMES]": chunk number (0 or * = every chunk), answer 22, 44,
// 88 (hex) or none, how often.
bool parseChunkFault(const std::string& text, SimFaults::ChunkFault& out)
{
    size_t a = text.find(':');
    if (a == std::string::npos)
        return false;
    size_t b = text.find(':', a + 1);
    std::string chunk = text.substr(0, a);
    std::string answer = text.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
    try {
        out.chunk = chunk == "*" ? 0 : std::stoi(chunk);
        out.times = b == std::string::npos ? 1 : std::stoi(text.substr(b + 1));
    } catch (...) {
        return false;
    }
    unsigned code = 0;
    if (answer == "none")
        out.answer = -1;
    else if (parseHex(answer, 0xFF, code))
        out.answer = int(code);
    else
        return false;
    return out.chunk >= 0 && out.times >= 1;
}

bool applyOptions(const Options& o, SimState& state, std::string& error)
{
    if (!o.scenario.empty()) {
        if (!loadScenarioFile(o.scenario, state, error))
            return false;
    } else if (!presetState(o.preset, state)) {
        error = "Unknown preset '" + o.preset + "' (see --list-presets)";
        return false;
    }
    unsigned v = 0;
    if (!o.unitNumber.empty()) {
        if (!parseHex(o.unitNumber, 0xFFFF, v)) {
            error = "--unit needs four hexadecimal digits";
            return false;
        }
        state.unitNumber = uint16_t(v);
    }
    if (!o.firmware.empty()) {
        if (!parseHex(o.firmware, 0xFFFF, v)) {
            error = "--firmware needs a hexadecimal version such as 4925";
            return false;
        }
        state.mainVersion = uint8_t(v >> 8);
        state.betaNumber = uint8_t(v);
    }
    if (o.timing)
        state.timing.enabled = true;
    if (o.baud > 0)
        state.timing.baud = o.baud;
    if (o.turnaroundMs >= 0)
        state.timing.turnaroundMs = o.turnaroundMs;
    if (o.restartMs >= 0)
        state.restartMs = o.restartMs;
    SimFaults& f = state.faults;
    if (o.noise) f.noiseBytes = o.noise;
    if (o.splitGap) f.splitGapMs = o.splitGap;
    if (o.corruptEvery) f.corruptEvery = o.corruptEvery;
    if (o.ignoreEvery) f.ignoreEvery = o.ignoreEvery;
    if (o.dropAfter) f.dropAfter = o.dropAfter;
    if (o.dropAfterChunk) f.dropAfterChunks = o.dropAfterChunk;
    if (o.noiseStream) f.noiseStream = true;
    if (o.shortData) f.shortDataRecords = o.shortData;
    if (o.silent) f.silent = true;
    if (!o.replyUnit.empty()) {
        if (!parseHex(o.replyUnit, 0xFFFF, v)) {
            error = "--reply-unit needs four hexadecimal digits";
            return false;
        }
        f.replyUnitNumber = int(v);
    }
    for (const std::string& text : o.chunkFaults) {
        SimFaults::ChunkFault cf;
        if (!parseChunkFault(text, cf)) {
            error = "--chunk-fault needs CHUNK:ANSWER[:TIMES], for example 3:44:2 or *:none";
            return false;
        }
        f.chunkFaults.push_back(cf);
    }
    return true;
}

void writeDump(SimUnit& unit, const std::string& path)
{
    std::string text = stateToJson(unit.state()).dump(2) + "\n";
    if (path.empty() || path == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        std::fprintf(stderr, "ravo-unit-sim: cannot write %s\n", path.c_str());
}

// Commands on standard input: "dump" prints the state, "quit" ends. At the
// input's end the unit keeps serving.
void runCommands(SimCommandInput& input)
{
    std::vector<std::string> lines;
    input.poll(lines);
    for (const std::string& line : lines) {
        if (line == "dump")
            g_dump = true;
        else if (line == "quit")
            g_stop = true;
        else if (!line.empty())
            std::fprintf(stderr, "ravo-unit-sim: unknown command '%s' (dump, quit)\n", line.c_str());
    }
}

void addOptions(CLI::App& app, Options& o)
{
    app.add_option("--port", o.port, "Serve the unit over TCP on 127.0.0.1:PORT (0 picks a free port)");
    app.add_flag("--pty", o.pty, "Serve the unit over a pseudo-terminal (link address serial:PATH)");
    app.add_option("--preset", o.preset, "Start from this preset (default: the default unit)");
    app.add_option("--scenario", o.scenario, "Start from this scenario file (JSON)");
    app.add_flag("--list-presets", o.listPresets, "Print each preset's name and what it is");
    app.add_option("--unit", o.unitNumber, "Unit number, four hexadecimal digits");
    app.add_option("--firmware", o.firmware, "Firmware version, hexadecimal (main version and beta), e.g. 4925");
    app.add_flag("--trace", o.trace, "Print every request received (opcode and payload in hex) to stderr");
    app.add_option("--dump-state", o.dumpPath, "Write the unit's state as JSON to FILE (- for stdout) at exit and on SIGUSR1");
    app.add_flag("--timing", o.timing, "Deliver replies only after the time the link needs to carry them");
    app.add_option("--baud", o.baud, "Link timing: baud rate, ten bits a byte (default 115200)");
    app.add_option("--turnaround", o.turnaroundMs, "Link timing: the unit's turnaround in ms (default 5)");
    app.add_option("--restart-ms", o.restartMs, "Time the unit is unreachable on a restart (default 2000)");
    app.add_option("--noise", o.noise, "Fault: write N junk bytes before every reply");
    app.add_option("--split-gap", o.splitGap, "Fault: write every reply in two parts, MS apart");
    app.add_option("--corrupt-every", o.corruptEvery, "Fault: one corrupted byte in every Nth reply");
    app.add_option("--ignore-every", o.ignoreEvery, "Fault: ignore every Nth request");
    app.add_option("--reply-unit", o.replyUnit, "Fault: replies carry this unit number (hex)");
    app.add_flag("--silent", o.silent, "Fault: the unit never answers");
    app.add_option("--drop-after", o.dropAfter, "Fault: drop the link after N exchanges");
    app.add_option("--drop-after-chunk", o.dropAfterChunk,
                   "Fault: in the bootloader, drop the link once, after answering the Nth accepted chunk");
    app.add_flag("--noise-stream", o.noiseStream, "Fault: write junk without end that never forms a frame");
    app.add_option("--short-data", o.shortData, "Fault: data replies carry at most N records (1..25)");
    app.add_option("--chunk-fault", o.chunkFaults,
                   "Fault: bootloader answer for a chunk, CHUNK:ANSWER[:TIMES] (ANSWER 22, 44, 88 or none; CHUNK * = every)");
    app.add_option("--write-firmware", o.writeFirmware, "Write a test firmware .enc file and exit");
    app.add_option("--version", o.version, "Version of the test firmware, hexadecimal (default 4926)");
    app.add_option("--chunks", o.chunks, "Test firmware: number of data chunks (default 8)");
    app.add_option("--chunk-size", o.chunkSize, "Test firmware: bytes per data chunk (default 512)");
}

int run(int argc, char** argv)
{
    CLI::App app{"ravo-unit-sim: a simulated Ravo unit behind a TCP port or a pseudo-terminal."};
    Options o;
    addOptions(app, o);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }

    if (o.listPresets) {
        std::fputs(presetTable().c_str(), stdout);
        return 0;
    }
    if (!o.writeFirmware.empty()) {
        unsigned version = 0;
        std::string error;
        if (!parseHex(o.version, 0xFFFF, version)) {
            std::fprintf(stderr, "ravo-unit-sim: --version needs a hexadecimal version such as 4926\n");
            return 2;
        }
        if (o.chunks < 0 || o.chunkSize < 1 || o.chunkSize > 0x7FFF) {
            std::fprintf(stderr, "ravo-unit-sim: --chunks must be 0 or more and --chunk-size 1 to 32767\n");
            return 2;
        }
        if (!writeTestFirmware(o.writeFirmware, uint16_t(version), o.chunks, o.chunkSize, error)) {
            std::fprintf(stderr, "ravo-unit-sim: %s\n", error.c_str());
            return 1;
        }
        std::fprintf(stderr, "ravo-unit-sim: wrote %s for version %04X\n", o.writeFirmware.c_str(), version);
        return 0;
    }
    if ((o.port >= 0) == o.pty) {
        std::fprintf(stderr, "ravo-unit-sim: give either --port N or --pty\n");
        return 2;
    }
    if (o.port > 65535) {
        std::fprintf(stderr, "ravo-unit-sim: --port must be 0 to 65535\n");
        return 2;
    }

    SimState state;
    std::string error;
    if (!applyOptions(o, state, error)) {
        std::fprintf(stderr, "ravo-unit-sim: %s\n", error.c_str());
        return 2;
    }
    auto unit = std::make_shared<SimUnit>(std::move(state));
    if (o.trace) {
        unit->setTrace([](const std::string& line) {
            std::fprintf(stderr, "ravo-unit-sim: %s\n", line.c_str());
            std::fflush(stderr);
        });
    }

    // Handlers first: whoever reads the address may signal at once.
    installSimSignals(g_stop, g_dump);
    SimServer server(unit);
    if (o.pty) {
        std::string path = server.openPty(error);
        if (path.empty()) {
            std::fprintf(stderr, "ravo-unit-sim: %s\n", error.c_str());
            return 1;
        }
        std::printf("serial:%s\n", path.c_str());
    } else {
        int port = server.listenTcp(o.port, error);
        if (port < 0) {
            std::fprintf(stderr, "ravo-unit-sim: %s\n", error.c_str());
            return 1;
        }
        std::printf("tcp:127.0.0.1:%d\n", port);
    }
    std::fflush(stdout);

    SimCommandInput input;
    server.run(g_stop, [&] {
        runCommands(input);
        if (g_dump.exchange(false))
            writeDump(*unit, o.dumpPath);
    });
    if (!o.dumpPath.empty())
        writeDump(*unit, o.dumpPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C");
    ravo::useUnchangedLineEnds();
    return run(argc, argv);
}
