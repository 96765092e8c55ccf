#include "desktop/program_icon.h"

// A static library's resources are registered by hand, from the global namespace.
static void registerProgramResources()
{
    Q_INIT_RESOURCE(ravo_config);
}

namespace ravo::desktop {

QIcon programIcon()
{
    static const bool registered = [] {
        registerProgramResources();
        return true;
    }();
    (void)registered;
    return QIcon(":/icons/example.varnholm.RavoConfig.svg");
}

}  // namespace ravo::desktop
