#include "cli/global_options.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "firmware/file_util.h"
#include "link/clock.h"
#include "link/link_address.h"
#include "link/unit_number.h"
#include "sim/sim_transport.h"

namespace ravo::cli {
namespace {

// The number the text stands for when read whole: 1 to 4 hexadecimal digits,
// an optional "0x" before them and "*" after them; -1 for anything else.
long wholeNumber(std::string text)
{
    if (!text.empty() && text.back() == '*')
        text.pop_back();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'X' || text[1] == 'x'))
        text.erase(0, 2);
    if (text.empty() || text.size() > 4)
        return -1;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return -1;
    return std::stol(text, nullptr, 16);
}

double scaleFactor(const char* variable)
{
    const char* text = std::getenv(variable);
    return text ? std::atof(text) : 0.0;
}

}  // namespace

std::string unitNumberWarning(const std::string& typed)
{
    std::string text = trimmed(typed);
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (text == "BL")
        return {};
    std::string copy = text;
    uint16_t used = parseUnitNumber(copy);
    if (wholeNumber(text) == long(used))
        return {};
    return "Warning: --unit \"" + typed + "\" is not a unit number as typed; using unit number " +
           formatUnitNumber(used);
}

bool checkLinkAddress(const std::string& address, std::string& error)
{
    // Building the transport parses the address (and loads a simulated
    // unit's scenario) without reaching for the unit.
    return createTransport(address, error) != nullptr;
}

void applyTimeScale(CRavo_ConfigApp& app)
{
    LinkAddress link;
    std::string error;
    if (std::getenv("RAVO_VIRTUAL_TIME") && parseLinkAddress(app.worker->linkAddress(), link, error) &&
        link.scheme == "sim") {
        static ManualClock clock;
        // The unit may already be made (the address was checked): it moves to
        // the virtual time too, and so does any unit made later in the run.
        sim::setSimClock(&clock);
        if (auto unit = sim::simUnitFor(link.argument, error))
            unit->setClock(&clock);
        app.worker->setClock(&clock);
        return;
    }
    if (double factor = scaleFactor("RAVO_TIME_SCALE"); factor > 1.0) {
        static ScaledClock clock(factor);
        app.worker->setClock(&clock);
    } else if (double pauses = scaleFactor("RAVO_PAUSE_SCALE"); pauses > 1.0) {
        static PatientClock clock(pauses);
        app.worker->setClock(&clock);
    }
}

std::shared_ptr<LinkTrace> startTrace(CRavo_ConfigApp& app, const std::string& path)
{
    auto trace = std::make_shared<LinkTrace>();
    std::string error;
    if (!trace->open(absolutePath(path), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
    }
    app.worker->setTrace(trace);
    return trace;
}

bool finishTrace(LinkTrace& trace, const std::string& path)
{
    if (trace.close())
        return true;
    std::fprintf(stderr, "The trace file %s could not be written (%s); the trace is cut short.\n",
                 absolutePath(path).c_str(), trace.writeError().c_str());
    return false;
}

}  // namespace ravo::cli
