#include "cli/unit_check.h"

#include <cstdio>

namespace ravo::cli {
namespace {

const char kNoResponse[] = "No responce from unit. Please, check unit nr.";

}  // namespace

void closeKeptLink(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    worker.keepLinkOpen = false;
    worker.link.Close();
}

bool connectAndCheckUnit(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    worker.unitNumber = context.app.config.currentUnitNumber();
    worker.keepLinkOpen = true;
    if (runJob(context, JOB_NONE) != 0) {
        worker.keepLinkOpen = false;
        return false;
    }
    uint8_t bytes[15] = {};
    int count = 0;
    if (!worker.link.ReadVersions(bytes, count)) {
        std::FILE* out = context.output.statusStream();
        std::fprintf(out ? out : stderr, "%s\n", kNoResponse);
        closeKeptLink(context);
        return false;
    }
    worker.versions = decodeUnitVersions(bytes, count);
    worker.link.setLinkFirmwareVersion(worker.versions.firmwareVersion());
    return true;
}

}  // namespace ravo::cli
