#pragma once
#include "link/messages.h"

namespace ravo::cli {

// Receiver of the worker's messages for the command line: status lines go to
// standard output as they come, exactly as formatted; progress goes to
// standard error as a bar.
class StatusPrinter : public MessageReceiver {
public:
    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

private:
    int lastPercent_ = -1;
};

}  // namespace ravo::cli
