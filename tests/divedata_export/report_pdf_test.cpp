// The PDF dive report written by ravo-cli on Qt's offscreen platform: a page
// per dive on the paper asked for, and pdftoppm shows the profile on it.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

std::string pdftoppm()
{
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::string path = std::string(dir) + "/pdftoppm";
        if (std::filesystem::exists(path))
            return path;
    }
    return {};
}

// Renders every page at 40 dots per inch; the PNG files in page order.
std::vector<std::string> renderPages(const TempDir& dir, const std::string& pdf, const std::string& prefix)
{
    ProgramResult r = runProgram(pdftoppm(), {"-r", "40", "-png", pdf, dir.file(prefix)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename().string().rfind(prefix + "-", 0) == 0)
            pages.push_back(entry.path().string());
    std::sort(pages.begin(), pages.end());
    return pages;
}

// How many pixels have the profile graph's background colour.
int profilePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == QColor(30, 30, 94);
    return count;
}

TEST(ReportPdf, EveryDiveOnAPageOfItsOwnWithItsProfile)
{
    TempDir home;
    ASSERT_EQ(runCliIn(home, {"--link", "sim:sinking-cell", "--unit", "1234", "dives", "--new"}).exitCode, 0);
    ProgramResult all = runCliIn(home, {"export", "--all", "--format", "pdf", "--out", home.file("all.pdf")},
                                 {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", "xcb"}});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_NE(all.err.find("5 dives"), std::string::npos) << all.err;
    const std::string pdf = readFile(home.file("all.pdf"));
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    if (pdftoppm().empty())
        GTEST_SKIP() << "pdftoppm is not installed (scripts/setup.sh installs poppler-utils)";
    const std::vector<std::string> pages = renderPages(home, home.file("all.pdf"), "all");
    ASSERT_EQ(pages.size(), 5u);
    const QImage first(QString::fromStdString(pages[0]));
    ASSERT_FALSE(first.isNull());
    // A4 is 210 by 297 mm.
    EXPECT_NEAR(double(first.width()) / first.height(), 210.0 / 297.0, 0.01);
    // The profile fills a good part of the page: its background, and its line.
    EXPECT_GT(profilePixels(first), first.width() * first.height() / 10);
    bool line = false;
    for (int y = 0; y < first.height() && !line; ++y)
        for (int x = 0; x < first.width() && !line; ++x)
            line = first.pixelColor(x, y).lightness() > 240 && first.pixelColor(x, y - (y > 0)) == QColor(30, 30, 94);
    EXPECT_TRUE(line) << "the white profile line on the dark graph";
}

TEST(ReportPdf, OneDiveOnLetterAndAPaperNotKnown)
{
    TempDir home;
    ASSERT_EQ(runCliIn(home, {"--link", "sim:sinking-cell", "--unit", "1234", "dives", "--new"}).exitCode, 0);
    ProgramResult bad = runCliIn(home, {"export", "--all", "--format", "pdf", "--paper", "a5", "--out", home.file("x.pdf")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("--paper"), std::string::npos);
    ProgramResult letter = runCliIn(
        home, {"export", "--all", "--unit", "1234", "--format", "pdf", "--paper", "letter", "--out", home.file("l.pdf")});
    ASSERT_EQ(letter.exitCode, 0) << letter.err;
    if (pdftoppm().empty())
        GTEST_SKIP() << "pdftoppm is not installed (scripts/setup.sh installs poppler-utils)";
    const std::vector<std::string> pages = renderPages(home, home.file("l.pdf"), "l");
    ASSERT_EQ(pages.size(), 5u);
    const QImage page(QString::fromStdString(pages[0]));
    EXPECT_NEAR(double(page.width()) / page.height(), 8.5 / 11.0, 0.01);
}

}  // namespace
}  // namespace ravo::test
