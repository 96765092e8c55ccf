#include "cli/png/export_png.h"

namespace ravo::cli {

bool WritePngExport(const DrawList&, const std::string&, std::string& error)
{
    error = "PNG export is not available in this build";
    return false;
}

}  // namespace ravo::cli
