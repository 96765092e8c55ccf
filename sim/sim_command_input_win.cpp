#include "sim/sim_command_input.h"

#include <windows.h>

namespace ravo::sim {
namespace {

// True when the console holds a pressed Return, so a line read returns at once.
bool consoleLineWaiting(HANDLE in)
{
    DWORD count = 0;
    if (!::GetNumberOfConsoleInputEvents(in, &count) || count == 0)
        return false;
    INPUT_RECORD records[128];
    DWORD got = 0;
    if (!::PeekConsoleInputA(in, records, count < 128 ? count : 128, &got))
        return false;
    for (DWORD i = 0; i < got; ++i) {
        const INPUT_RECORD& r = records[i];
        if (r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown && r.Event.KeyEvent.uChar.AsciiChar == '\r')
            return true;
    }
    return false;
}

}  // namespace

int SimCommandInput::readWaiting(char* buffer, int size)
{
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE)
        return -1;
    DWORD got = 0;
    switch (::GetFileType(in)) {
    case FILE_TYPE_PIPE: {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(in, nullptr, 0, nullptr, &waiting, nullptr))
            return -1;  // the writer closed its end
        if (waiting == 0)
            return 0;
        if (!::ReadFile(in, buffer, DWORD(size) < waiting ? DWORD(size) : waiting, &got, nullptr))
            return -1;
        return int(got);
    }
    case FILE_TYPE_CHAR: {
        DWORD mode = 0;
        if (!::GetConsoleMode(in, &mode))
            return -1;  // NUL and other devices: no commands
        if (!consoleLineWaiting(in))
            return 0;
        if (!::ReadFile(in, buffer, DWORD(size), &got, nullptr) || got == 0)
            return -1;
        return int(got);
    }
    default:
        if (!::ReadFile(in, buffer, DWORD(size), &got, nullptr) || got == 0)
            return -1;
        return int(got);
    }
}

}  // namespace ravo::sim
