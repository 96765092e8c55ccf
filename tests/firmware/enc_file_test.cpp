#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/enc_codec.h"
#include "firmware/firmware_check.h"
#include "firmware/enc_file.h"
#include "firmware/resource_file.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes decode(const std::string& text)
{
    return decodeEncText(text.data(), text.size());
}

struct DecodeRow {
    std::string text;
    Bytes expected;
};

TEST(EncDecode, PairsBecomeBytes)
{
    const DecodeRow rows[] = {
        {"0005AABBCCDDEE0000", {0x00, 0x05, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x00, 0x00}},
        {"0005aabbccddee0000", {0x00, 0x05, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x00, 0x00}},
        {"0102A", {0x01, 0x02}},          // 5 characters: trailing odd one ignored
        {"00ff01f", {0x00, 0xFF, 0x01}},  // 7 characters give 3 bytes
        {"", {}},
        {"7", {}},
        {"zz", {0x00}},          // not a number
        {"-1", {0xFF}},          // strtol's sign, low 8 bits kept
        {" A", {0x0A}},          // leading blank skipped by strtol
        {"A ", {0x0A}},          // conversion stops at the blank
        {"0x", {0x00}},          // a lone prefix reads as 0
        {"+F", {0x0F}},
        {"\r\n12", {0x00, 0x12}},  // line breaks are not skipped inside a pair of two white spaces
    };
    for (const DecodeRow& row : rows)
        EXPECT_EQ(decode(row.text), row.expected) << "text \"" << row.text << "\"";
}

TEST(EncDecode, ZeroCharacterEndsThePair)
{
    std::string text("\0A1B", 4);
    EXPECT_EQ(decode(text), (Bytes{0x00, 0x1B}));
}

TEST(ChunkCount, WalksLengthHeaders)
{
    struct Row {
        Bytes image;
        int chunks;
        bool cut;
    };
    const Row rows[] = {
        {{0x00, 0x05, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x00, 0x00}, 2, false},
        {{0x00}, 0, false},
        {{}, 0, false},
        {{0x00, 0x00}, 1, false},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 3, false},
        {{0x00, 0x01, 0x11, 0x00}, 1, false},                   // one byte left over: no header
        {{0x00, 0x03, 0x11, 0x22}, 1, true},                    // declares 3, holds 2
        {{0x00, 0x01, 0x11, 0x00, 0x05, 0x01}, 2, true},        // the last one is cut
        {{0x80, 0x01, 0x11}, 1, true},                          // 0x8001 counts in full
        {{0xFF, 0xFF}, 1, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(countImageChunks(row.image.data(), row.image.size()), row.chunks);
        EXPECT_EQ(checkFirmwareImage(row.image).status == FirmwareFileStatus::ChunkCut, row.cut);
    }
    EXPECT_EQ(countImageChunks(nullptr, 10), 0);
}

TEST(EncFile, LoadsTheExampleImage)
{
    test::TempDir dir;
    test::writeFile(dir.file("fw.enc"), "0005AABBCCDDEE0000");
    CEncFile file;
    ASSERT_TRUE(file.Open(dir.file("fw.enc")));
    EXPECT_TRUE(file.openResult);
    ASSERT_TRUE(file.Load());
    ASSERT_EQ(file.imageLength(), 9u);
    EXPECT_EQ(Bytes(file.image(), file.image() + 9), (Bytes{0x00, 0x05, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x00, 0x00}));
    ASSERT_TRUE(file.CountChunks());
    EXPECT_EQ(file.chunkCount, 2);
}

TEST(EncFile, EmptyFileLoadsAnEmptyImage)
{
    test::TempDir dir;
    test::writeFile(dir.file("empty.enc"), "");
    CEncFile file;
    ASSERT_TRUE(file.Open(dir.file("empty.enc")));
    EXPECT_TRUE(file.Load());
    EXPECT_EQ(file.imageLength(), 0u);
    EXPECT_EQ(file.image(), nullptr);
    EXPECT_FALSE(file.CountChunks());
    EXPECT_EQ(file.chunkCount, 0);
}

TEST(EncFile, MissingFileHasNoImage)
{
    test::TempDir dir;
    CEncFile file;
    EXPECT_FALSE(file.Open(dir.file("missing.enc")));
    EXPECT_FALSE(file.openResult);
    EXPECT_FALSE(file.Load());
    EXPECT_FALSE(file.CountChunks());
}

TEST(EncFile, NewOpenDiscardsTheImage)
{
    test::TempDir dir;
    test::writeFile(dir.file("a.enc"), "000111");
    CEncFile file;
    ASSERT_TRUE(file.Open(dir.file("a.enc")));
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.imageLength(), 3u);
    EXPECT_FALSE(file.Open(dir.file("missing.enc")));
    EXPECT_EQ(file.imageLength(), 0u);
}

TEST(EncFile, LargeOddFileDecodesWhole)
{
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "A5";
    text += "F";
    test::writeFile(dir.file("big.enc"), text);
    CEncFile file;
    ASSERT_TRUE(file.Open(dir.file("big.enc")));
    ASSERT_TRUE(file.Load());
    ASSERT_EQ(file.imageLength(), 100000u);
    EXPECT_EQ(file.image()[99999], 0xA5);
}

TEST(ResourceFile, NoBuiltInImageIsCarried)
{
    CResourceEncFile file;
    EXPECT_EQ(file.LoadFromResource(nullptr, kBuiltInFirmwareName, kBuiltInFirmwareType), 0);
    EXPECT_EQ(file.LoadFromResource(nullptr, nullptr, kBuiltInFirmwareType), 0);
    EXPECT_FALSE(file.loaded());
    EXPECT_FALSE(file.Load());
    EXPECT_FALSE(file.CountChunks());
    EXPECT_EQ(file.Seek(0, 0), -1);
    EXPECT_EQ(file.Detach(), nullptr);
    EXPECT_EQ(file.Duplicate(), nullptr);
}

TEST(ResourceFile, AttachedBufferReadsSeeksAndDecodes)
{
    uint8_t text[] = {'0', '0', '0', '1', '7', 'F', '0'};
    CResourceEncFile file;
    file.Attach(text, sizeof text);
    ASSERT_TRUE(file.loaded());
    EXPECT_EQ(file.SeekToEnd(), 7);
    EXPECT_EQ(file.Seek(2, 0), 2);
    EXPECT_EQ(file.Seek(1, 1), 3);
    EXPECT_EQ(file.Seek(8, 0), -1);  // beyond the size: position stays
    EXPECT_EQ(file.Read(nullptr, 100), 4u);
    uint8_t out[2] = {};
    EXPECT_EQ(file.Read(out, 2), 4u);  // reports all remaining, copies two
    EXPECT_EQ(out[0], '1');
    EXPECT_EQ(out[1], '7');
    EXPECT_EQ(file.Read(out, 2), 0u);  // position is at the end now
    EXPECT_EQ(file.SeekToBegin(), 0);

    uint8_t* copy = file.Duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy[6], '0');
    EXPECT_EQ(copy[7], 0);
    EXPECT_EQ(copy[8], 0);
    delete[] copy;

    ASSERT_TRUE(file.Load());
    ASSERT_EQ(file.imageLength(), 3u);
    EXPECT_EQ(file.image()[2], 0x7F);
    ASSERT_TRUE(file.CountChunks());
    EXPECT_EQ(file.chunkCount, 1);
    file.Close();  // attached: the caller's buffer is not freed
    EXPECT_EQ(text[0], '0');
}

}  // namespace
}  // namespace ravo
