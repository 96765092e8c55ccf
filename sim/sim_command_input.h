#pragma once
#include <string>
#include <vector>

namespace ravo::sim {

// The simulator's commands on standard input ("dump", "quit"), read without
// blocking from the serving loop: no thread is left waiting on the console
// when the program ends.
class SimCommandInput {
public:
    // Appends the complete lines waiting (without line ends). False once
    // standard input has ended; lines read before its end are still given.
    bool poll(std::vector<std::string>& lines);

private:
    // Reads what is waiting without blocking: the count, 0 for none, -1 at the end.
    int readWaiting(char* buffer, int size);
    void take(const char* bytes, int count, std::vector<std::string>& lines);

    std::string partial_;
    bool ended_ = false;
};

}  // namespace ravo::sim
