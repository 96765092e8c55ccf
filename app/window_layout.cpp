#include "app/window_layout.h"

#include <algorithm>
#include <cstdio>

#include "link/c_format.h"

namespace ravo {
namespace {

constexpr int kMinColumnWidth = 10;
const char kDefaultPanes[] = "-1 150 -1 150";

}  // namespace

bool WindowPlacement::maximized() const
{
    return showCommand == kShowMaximized || (showCommand == kShowMinimized && (flags & kRestoreToMaximized));
}

bool parseWindowPos(const std::string& text, WindowPlacement& p)
{
    WindowPlacement read;
    int consumed = 0;
    int fields = std::sscanf(text.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d%n", &read.flags, &read.showCommand,
                             &read.minX, &read.minY, &read.maxX, &read.maxY, &read.left, &read.top, &read.right,
                             &read.bottom, &consumed);
    if (fields != 10 || size_t(consumed) != text.size())
        return false;
    p = read;
    return true;
}

std::string formatWindowPos(const WindowPlacement& p)
{
    return formatC("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand, p.minX, p.minY, p.maxX, p.maxY, p.left,
                   p.top, p.right, p.bottom);
}

WindowPlacement closingPlacement(int left, int top, int width, int height, bool maximized, bool minimized)
{
    WindowPlacement p;
    p.left = left;
    p.top = top;
    p.right = left + width;
    p.bottom = top + height;
    p.flags = maximized ? WindowPlacement::kRestoreToMaximized : 0;
    p.showCommand = maximized    ? WindowPlacement::kShowMaximized
                    : minimized ? WindowPlacement::kShowMinimized
                                : WindowPlacement::kShowNormal;
    return p;
}

std::string panesEntry(int splitter)
{
    return formatC("Panes_%d", splitter);
}

SplitterWidths parsePanes(const std::string& text)
{
    int hidden = -1, left = 150, row = -1, right = 150;
    if (std::sscanf(text.c_str(), "%d %d %d %d", &hidden, &left, &row, &right) != 4)
        std::sscanf(kDefaultPanes, "%d %d %d %d", &hidden, &left, &row, &right);
    SplitterWidths widths;
    widths.left = std::max(left, kMinColumnWidth);
    widths.right = std::max(right, kMinColumnWidth);
    return widths;
}

std::string formatPanes(int left, int right)
{
    return formatC("%d %d %d %d", -1, left < 0 ? 100 : left, -1, right < 0 ? 100 : right);
}

SplitterWidths loadSplitterWidths(ConfigStore& store, int splitter)
{
    const std::string text = store.readText(kSplitterSection, panesEntry(splitter), std::string());
    SplitterWidths widths = parsePanes(text.empty() ? kDefaultPanes : text);
    widths.stored = !text.empty();
    return widths;
}

void saveSplitterWidths(ConfigStore& store, int left, int right, int splitter)
{
    store.writeText(kSplitterSection, panesEntry(splitter), formatPanes(left, right));
}

WindowSize defaultWindowSize(int availableWidth, int availableHeight)
{
    return {std::clamp(availableWidth - 40, 900, 1200), std::clamp(availableHeight - 40, 600, 900)};
}

}  // namespace ravo
