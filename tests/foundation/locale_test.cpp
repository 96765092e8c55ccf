#include <gtest/gtest.h>

#include <clocale>

#include "app/app_log.h"
#include "link/c_format.h"
#include "support/job_bench.h"
#include "support/temp_dir.h"

// The user's locale may write decimal commas; texts the program writes may not.
TEST(Locale, TextsAreFormattedInTheCLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not generated (scripts/setup.sh generates it)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%0.3f", 4.123);
    ASSERT_STREQ(probe, "4,123") << "the locale really writes decimal commas";

    EXPECT_EQ(ravo::formatC("%0.3f", 4.123), "4.123");
    ravo::test::JobBench bench;
    bench.job.line("Voltage %0.3f", 3.5);
    EXPECT_EQ(bench.job.lastLine(), "Voltage 3.500");

    ravo::test::TempDir dir;
    {
        ravo::AppLog log;
        log.open(dir.file("l.txt"));
        log.writef("%.1f", 2.5);
    }
    std::string text = ravo::test::readFile(dir.file("l.txt"));
    EXPECT_EQ(text.substr(text.size() - 5), "2.5\r\n");
    std::setlocale(LC_ALL, "C");
}

// Output longer than the buffer is cut, not dropped: the Windows runtime
// reports -1 for it, which once left an empty status line there.
TEST(CFormat, LongOutputIsCutOnEveryPlatform)
{
    const std::string longText(300, 'x');
    ravo::test::JobBench bench;
    bench.job.line("%s", longText.c_str());
    EXPECT_EQ(bench.job.lastLine(), std::string(254, 'x'));
    char small[16];
    ravo::formatC(small, sizeof small, "%s and %0.1f", longText.c_str(), 1.5);
    EXPECT_EQ(std::string(small), std::string(15, 'x'));
    EXPECT_EQ(ravo::formatC("%s%0.2f", longText.c_str(), 2.5), longText + "2.50");
}
