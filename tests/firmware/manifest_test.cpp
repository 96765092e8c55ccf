#include <gtest/gtest.h>

#include "firmware/update_manifest.h"

namespace ravo {
namespace {

const char kManifest136[] =
    "<ravo>\n"
    " <ravo_config>\n"
    "  <win>\n"
    "   <name>Ravo_Config</name>\n"
    "   <file>https://updates.varnholm.example/Ravo_Config_136.exe</file>\n"
    "   <date>2026-11-02</date>\n"
    "   <version><string>v1.36</string><major>1</major><minor>36</minor></version>\n"
    "   <cdata>7A1F</cdata>\n"
    "  </win>\n"
    " </ravo_config>\n"
    " <firmware>\n"
    "  <name>Ravo unit</name><file>ravo_4925.enc</file><date>2026-10-01</date>\n"
    "  <version><string>49.25</string><major>49</major><minor>25</minor></version>\n"
    " </firmware>\n"
    "</ravo>\n";

UpdateManifest manifestWith(const std::string& text)
{
    UpdateManifest manifest;
    manifest[UpdateManifest::kFetchedText] = text;
    return manifest;
}

TEST(ManifestElement, FindsTheFirstElement)
{
    struct Row {
        std::string text;
        std::string name;
        std::string expected;
    };
    const Row rows[] = {
        {"<a>x</a>", "a", "x"},
        {"<a>x</a><a>y</a>", "a", "x"},
        {"<a><b>1</b></a>", "a", "<b>1</b>"},
        {"<a></a>", "a", ""},
        {"<a>x", "a", ""},                       // no end tag
        {"</a><a>x", "a", ""},                   // end tag only before the start
        {"<a >x</a>", "a", ""},                  // a blank in the start tag
        {"<A>x</A>", "a", ""},                   // case-sensitive
        {"<ravo_config>x</ravo_config>", "ravo", ""},
        {"<v> v1.36 </v>", "v", " v1.36 "},      // nothing trimmed
        {"<a>&lt;</a>", "a", "&lt;"},            // nothing decoded
    };
    for (const Row& row : rows)
        EXPECT_EQ(Element(row.text, row.name), row.expected) << row.text;
}

TEST(ReadManifest, FillsEveryEntry)
{
    UpdateManifest manifest = manifestWith(kManifest136);
    ASSERT_TRUE(ReadManifest(manifest));
    EXPECT_EQ(manifest[0], "QUINTABREL");
    EXPECT_EQ(manifest[2], "Get Server Info");
    EXPECT_EQ(manifest[3], "Ravo_Config");
    EXPECT_EQ(manifest[4], "https://updates.varnholm.example/Ravo_Config_136.exe");
    EXPECT_EQ(manifest[5], "2026-11-02");
    EXPECT_EQ(manifest[6], "v1.36");
    EXPECT_EQ(manifest[7], "1");
    EXPECT_EQ(manifest[8], "36");
    EXPECT_EQ(manifest[9], "7A1F");
    EXPECT_EQ(manifest[10], "Ravo unit");
    EXPECT_EQ(manifest[11], "ravo_4925.enc");
    EXPECT_EQ(manifest[12], "2026-10-01");
    EXPECT_EQ(manifest[13], "49.25");
    EXPECT_EQ(manifest[14], "49");
    EXPECT_EQ(manifest[15], "25");
    EXPECT_TRUE(IsNewer(manifest));
    EXPECT_EQ(manifest.encipheredCode(), "7A1F");
    EXPECT_EQ(manifest.downloadLocation(), manifest[4]);
}

TEST(ReadManifest, MissingPartsLeaveEntriesEmpty)
{
    UpdateManifest noCdata = manifestWith(
        "<ravo><ravo_config><win><name>R</name><version><string>v1.36</string></version></win></ravo_config></ravo>");
    ASSERT_TRUE(ReadManifest(noCdata));
    EXPECT_EQ(noCdata[6], "v1.36");
    EXPECT_EQ(noCdata[3], "R");
    EXPECT_EQ(noCdata[9], "");

    UpdateManifest blankTag = manifestWith("<ravo><ravo_config><win><name >R</name ></win></ravo_config></ravo>");
    ASSERT_TRUE(ReadManifest(blankTag));
    EXPECT_EQ(blankTag[3], "");

    UpdateManifest twoWins = manifestWith(
        "<ravo><ravo_config><win><name>first</name></win><win><name>second</name></win></ravo_config></ravo>");
    ASSERT_TRUE(ReadManifest(twoWins));
    EXPECT_EQ(twoWins[3], "first");

    UpdateManifest firmwareOnly = manifestWith("<ravo><firmware><name>F</name></firmware></ravo>");
    ASSERT_TRUE(ReadManifest(firmwareOnly));
    for (int entry = 3; entry <= 9; ++entry)
        EXPECT_EQ(firmwareOnly[entry], "") << entry;
    EXPECT_EQ(firmwareOnly[10], "F");

    // A firmware element inside ravo_config is found as well.
    UpdateManifest nested = manifestWith("<ravo><ravo_config><firmware><name>N</name></firmware></ravo_config></ravo>");
    ASSERT_TRUE(ReadManifest(nested));
    EXPECT_EQ(nested[10], "N");
}

TEST(ReadManifest, NotAManifest)
{
    UpdateManifest filled = manifestWith(kManifest136);
    ASSERT_TRUE(ReadManifest(filled));
    filled[UpdateManifest::kFetchedText] = "<html><body>404 Not Found</body></html>";
    EXPECT_FALSE(ReadManifest(filled));
    for (int entry = 3; entry < UpdateManifest::kEntryCount; ++entry)
        EXPECT_EQ(filled[entry], "") << entry;
    EXPECT_FALSE(IsNewer(filled));

    UpdateManifest empty;
    EXPECT_FALSE(ReadManifest(empty));
    UpdateManifest emptyRavo = manifestWith("<ravo></ravo>");
    EXPECT_FALSE(ReadManifest(emptyRavo));
}

TEST(IsNewer, ComparesBytes)
{
    struct Row {
        std::string version;
        bool newer;
    };
    const Row rows[] = {
        {"v1.36", true},  {"v1.35", false}, {"v1.4", true},   {"v1.100", false}, {"V1.99", false},
        {" v1.36", false}, {" v1.36 ", false}, {"", false},   {"v1.35a", true},  {"v2", true},
        {"v1.3", false},  {"\xC3\xA9", true},  // above 0x7F as unsigned
    };
    for (const Row& row : rows) {
        UpdateManifest manifest;
        manifest[UpdateManifest::kProgramVersion] = row.version;
        EXPECT_EQ(IsNewer(manifest), row.newer) << "\"" << row.version << "\"";
    }
}

TEST(UpdateManifest, ClearKeepsTheConstants)
{
    UpdateManifest manifest = manifestWith(kManifest136);
    ReadManifest(manifest);
    manifest.clear();
    EXPECT_EQ(manifest.serviceKey(), "QUINTABREL");
    EXPECT_EQ(manifest[2], "Get Server Info");
    EXPECT_EQ(manifest[1], "");
    EXPECT_EQ(manifest[6], "");
}

}  // namespace
}  // namespace ravo
