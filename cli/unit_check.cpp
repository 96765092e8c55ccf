#include "cli/unit_check.h"

#include <cstdio>

namespace ravo::cli {
namespace {

const char kNoResponse[] = "No responce from unit. Please, check unit nr.";

}  // namespace

void closeKeptLink(CliContext& context)
{
    context.app.worker->closeLink();
}

bool connectAndCheckUnit(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    const JobOutcome outcome = runJob(context, ConnectRequest{context.app.config.currentUnitNumber(), true, true});
    if (!outcome.connected()) {
        worker.setKeepLinkOpen(false);
        return false;
    }
    if (outcome.code() != 1) {
        std::FILE* out = context.output.statusStream();
        std::fprintf(out ? out : stderr, "%s\n", kNoResponse);
        closeKeptLink(context);
        return false;
    }
    return true;
}

}  // namespace ravo::cli
