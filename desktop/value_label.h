#pragma once
#include <string>

class QLabel;

namespace ravo::desktop {

// Shows `value` in a label that shows a value, and names it with caption and
// value so a screen reader reads both ("Voltage 4.050 V").
void showValue(QLabel* label, const std::string& caption, const std::string& value);

}  // namespace ravo::desktop
