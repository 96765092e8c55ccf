#include "desktop/views/view_unit_redbox.h"
