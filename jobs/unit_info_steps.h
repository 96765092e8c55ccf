#pragma once

namespace ravo {

class WorkTask;

// The steps of the unit information job, each reporting its own lines
// through the worker and leaving what it read in the worker's fields.

// Versions into `versions`, then the battery into `voltage`, then the
// voltage check: 1 when everything passed; -1 without a link; -2 voltage
// outside range; -3 stopped; -4 no versions reply.
int ReadVersionsAndVoltage(WorkTask& task);

// 1, or -2 with the charge line for a measured voltage below 3.5 V.
int CheckVoltage(WorkTask& task);

// UM_UNIT_FOUND with the unit number as "%04X".
void SendUnitFound(WorkTask& task);

// Every setting and status value into `settings`: 1 done; -1 stopped, no
// link or access handshake failed; -2 a required read failed (the fields read
// so far stay, `valid` stays 0).
int ReadSettings(WorkTask& task);

}  // namespace ravo
