#pragma once
#include <cstdint>

namespace ravo {

// Message numbers between the worker, the link and the window that receives
// their reports. The numbers are fixed; parameters as documented per message.
enum UnitMessage : unsigned {
    UM_STATUS_TEXT = 1164,        // lParam: const char* line
    UM_PROGRESS = 1165,           // wParam: percent 0..100
    UM_LINK_SEND = 1166,          // before each frame is written
    UM_LINK_RECEIVE = 1167,       // after a valid reply frame or bootloader answer
    UM_TREE_UNIT = 1169,
    UM_TREE_SAVED_DIVE = 1170,
    UM_UNIT_FOUND = 1174,         // lParam: const std::string* unit number "%04X"
    UM_REFRESH_VIEW = 1175,
    UM_FIRMWARE_TEXT = 1184,      // lParam: const char* text
    UM_KEEP_ALIVE = 1185,
    UM_REQ_READ_INFO = 1194,
    UM_REQ_FIRMWARE = 1195,       // lParam: const std::string* firmware path
    UM_REQ_READ_DIVE = 1197,      // lParam: const CDiveInfo*
    UM_DIVE_DOWNLOADED = 1198,    // lParam: CDiveLog* (the worker's logData)
    UM_REQ_REREAD_INFO = 1199,
    UM_REQ_READ_REDBOX = 1200,    // lParam: const CDiveInfo*
    UM_REDBOX_DOWNLOADED = 1201,  // lParam: CDiveLog* (the worker's logData)
    UM_REQ_FIX_SERIAL = 1202,
    UM_REQ_READ_DIVES = 1203,     // lParam: const std::vector<CDiveInfo>* dives to download in turn
};

// The receiver of the worker's and the link's reports. Every call is
// synchronous: the sender continues only after it returns, so pointers passed
// in lParam are valid for the duration of the call only.
class MessageReceiver {
public:
    virtual ~MessageReceiver() = default;
    virtual intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace ravo
