#pragma once

namespace ravo {

class WorkTask;

// The versions and voltage read the firmware and recovery jobs begin with.
// 1 when everything passed; -1 without a link; -2 voltage outside range;
// -3 stopped; -4 no versions reply.
int ReadVersionsAndVoltage(WorkTask& task);

}  // namespace ravo
