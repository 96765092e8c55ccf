#pragma once
#include <string>

#include "app/config_store.h"

namespace ravo {

// Where the main window's layout is kept in the configuration store.
inline constexpr char kLayoutSection[] = "Settings";
inline constexpr char kWindowPosEntry[] = "WindowPos";
inline constexpr char kSplitterSection[] = "SplitterWnd";
inline constexpr char kBarStateSection[] = "General";
inline constexpr char kBarStateEntry[] = "BarState";
inline constexpr char kStatusBarEntry[] = "StatusBar";

// The window placement record, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d": flags, show
// command, minimised and maximised positions, the normal rectangle.
struct WindowPlacement {
    static constexpr unsigned kRestoreToMaximized = 2;
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;

    unsigned flags = 0;
    unsigned showCommand = kShowNormal;
    int minX = -1, minY = -1, maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    // The window reopens maximised: shown maximised, or minimised from maximised.
    bool maximized() const;
};

// False unless `text` holds exactly the ten numbers.
bool parseWindowPos(const std::string& text, WindowPlacement& placement);
std::string formatWindowPos(const WindowPlacement& placement);

// The placement a closing window stores: its normal rectangle, flags 2 and the
// maximised show command when it is maximised.
WindowPlacement closingPlacement(int left, int top, int width, int height, bool maximized, bool minimized);

// The window's size before one is stored: most of the screen's free area
// (room for a border and a task bar), at least 900 by 600 and at most 1200 by 900.
struct WindowSize {
    int width = 0;
    int height = 0;
};
WindowSize defaultWindowSize(int availableWidth, int availableHeight);

// The splitter's two column widths, "Panes_%d": "%d %d %d %d" (hidden column,
// left width, hidden row, right width), default "-1 150 -1 150", each column
// at least 10 pixels wide.
struct SplitterWidths {
    int left = 150;
    int right = 150;
    bool stored = false;  // read from the store, not the default
};
std::string panesEntry(int splitter);
SplitterWidths parsePanes(const std::string& text);
// A width of -1 (unknown) is written as 100.
std::string formatPanes(int left, int right);

SplitterWidths loadSplitterWidths(ConfigStore& store, int splitter = 0);
void saveSplitterWidths(ConfigStore& store, int left, int right, int splitter = 0);

}  // namespace ravo
