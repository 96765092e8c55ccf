#include <gtest/gtest.h>

#include "app/desktop_links.h"
#include "app/window_layout.h"

namespace ravo::test {
namespace {

TEST(WindowLayout, PlacementNeedsExactlyTenNumbers)
{
    WindowPlacement p;
    ASSERT_TRUE(parseWindowPos("2,3,-1,-1,-8,-8,10,20,810,620", p));
    EXPECT_TRUE(p.maximized());
    EXPECT_EQ(p.right - p.left, 800);
    EXPECT_EQ(formatWindowPos(p), "2,3,-1,-1,-8,-8,10,20,810,620");
    WindowPlacement untouched;
    EXPECT_FALSE(parseWindowPos("0,1,-1,-1,-1,-1,10,20,810", untouched));
    EXPECT_FALSE(parseWindowPos("0,1,-1,-1,-1,-1,10,20,810,620,5", untouched));
    EXPECT_FALSE(parseWindowPos("0,1,-1,-1,-1,-1,10,20,810,620x", untouched));
    EXPECT_EQ(untouched.right, 0);
}

TEST(WindowLayout, ClosingPlacementMarksAMaximisedWindow)
{
    WindowPlacement maximised = closingPlacement(10, 20, 800, 600, true, false);
    EXPECT_EQ(formatWindowPos(maximised), "2,3,-1,-1,-1,-1,10,20,810,620");
    WindowPlacement normal = closingPlacement(10, 20, 800, 600, false, false);
    EXPECT_EQ(normal.flags, 0u);
    EXPECT_FALSE(normal.maximized());
    // Minimised from maximised comes back maximised.
    WindowPlacement minimised = closingPlacement(10, 20, 800, 600, false, true);
    minimised.flags = WindowPlacement::kRestoreToMaximized;
    EXPECT_TRUE(minimised.maximized());
}

TEST(WindowLayout, SplitterWidthsDefaultAndKeepTenPixels)
{
    SplitterWidths widths = parsePanes("garbage");
    EXPECT_EQ(widths.left, 150);
    EXPECT_EQ(widths.right, 150);
    widths = parsePanes("-1 3 -1 420");
    EXPECT_EQ(widths.left, 10);
    EXPECT_EQ(widths.right, 420);
    EXPECT_EQ(formatPanes(-1, 300), "-1 100 -1 300");
    MemoryConfigStore store;
    EXPECT_FALSE(loadSplitterWidths(store).stored);  // the window may fit the tree instead
    saveSplitterWidths(store, 220, 640);
    EXPECT_EQ(store.values.at("SplitterWnd/Panes_0"), "-1 220 -1 640");
    EXPECT_EQ(loadSplitterWidths(store).left, 220);
    EXPECT_TRUE(loadSplitterWidths(store).stored);
}

TEST(DesktopLinks, OnlyWebAndMailAddressesAreOpened)
{
    EXPECT_TRUE(isOpenableLink("https://www.varnholm.example/"));
    EXPECT_TRUE(isOpenableLink("mailto:support@varnholm.example"));
    EXPECT_FALSE(isOpenableLink("file:///etc/passwd"));
    EXPECT_FALSE(isOpenableLink("mailto:a@b?attach=/etc/passwd"));
    EXPECT_FALSE(isOpenableLink("mailto:nobody"));
    EXPECT_FALSE(isOpenableLink(""));
    for (const LinkButtonText& link : aboutLinks())
        EXPECT_TRUE(isOpenableLink(link.target)) << link.target;
    EXPECT_EQ(aboutNameText(), "Ravo_Config, v1.35");
}

}  // namespace
}  // namespace ravo::test
