#pragma once
#include <cstdint>
#include <string>

#include "settings/unit_settings.h"

namespace ravo {

// Texts the settings list shows for coded values.

// The date of the last service, or "-- service needed --" when it is unset,
// in the unit's future, or more than 728 days before the unit's clock.
std::string serviceTimeText(uint32_t serviceTime, uint32_t rtcTime);
// Whether the unit is due for service by that same rule.
bool serviceNeeded(uint32_t serviceTime, uint32_t rtcTime);
// The end of the no-fly time, or "-- no limit --" when unset or already past.
std::string noFlyText(uint32_t timeToFly, uint32_t rtcTime);
std::string mouthpieceText(int32_t position);
std::string batteryTypeText(int32_t type);
std::string moduleTypeText(int32_t type);
// The mode, and for the test modes the test number and any error.
std::string systemModeText(int32_t mode, int32_t testNumber, int32_t errorCode);

}  // namespace ravo
