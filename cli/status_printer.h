#pragma once
#include <cstdint>
#include <string>

#include "cli/cli_context.h"
#include "link/clock.h"
#include "link/messages.h"

namespace ravo::cli {

// Receiver of the worker's messages for the command line: status lines go
// where the output mode says, exactly as formatted; progress goes to standard
// error as a bar, by records when the worker counts them (log downloads),
// else by percent. Under --quiet nothing is shown.
class StatusPrinter : public MessageReceiver {
public:
    StatusPrinter(OutputMode mode, const WorkTask& worker, Clock& clock = systemClock());
    ~StatusPrinter() override;
    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    // Several downloads under one bar: `doneBefore` records finished before
    // the current download, `total` records in all. The bar then stays up
    // between downloads until endBar().
    void setBatch(uint64_t doneBefore, uint64_t total);
    // Ends a shown bar with a line end.
    void endBar();

protected:
    OutputMode mode_;

private:
    void printStatus(const char* text);
    void drawBar();
    void eraseBar();

    const WorkTask& worker_;
    Clock& clock_;
    bool batch_ = false;
    uint64_t batchDone_ = 0;
    uint64_t batchTotal_ = 0;
    uint64_t startMs_ = 0;
    bool barShown_ = false;
    int percent_ = 0;
    std::string barText_;
    uint64_t drawnMs_ = 0;
    bool interactive_;  // standard error is a terminal
};

}  // namespace ravo::cli
